#include "folder_picker.h"

#include "texts.h"
#include "zarn/utf8_path.h"

#include <shobjidl.h>
#include <system_error>
#include <wrl/client.h>

namespace zarn::win32 {
namespace {

using Microsoft::WRL::ComPtr;

void check(HRESULT result)
{
    if (FAILED(result)) {
        throw std::system_error(result, std::system_category(), texts::showingFolderPicker);
    }
}

} // namespace

std::optional<std::filesystem::path>
FolderPicker::chooseFolder(std::string_view title, const std::filesystem::path& startIn)
{
    ComPtr<IFileOpenDialog> dialog;
    check(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                           IID_PPV_ARGS(&dialog)));
    FILEOPENDIALOGOPTIONS options = 0;
    check(dialog->GetOptions(&options));
    check(dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM));
    check(dialog->SetTitle(utf16FromUtf8(title).c_str()));
    // A start folder the shell cannot open leaves the picker where it starts by itself.
    ComPtr<IShellItem> start;
    if (SUCCEEDED(SHCreateItemFromParsingName(startIn.c_str(), nullptr, IID_PPV_ARGS(&start)))) {
        dialog->SetFolder(start.Get());
    }
    const HRESULT shown = dialog->Show(nullptr);
    if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED)) {
        return std::nullopt;
    }
    check(shown);
    ComPtr<IShellItem> chosen;
    check(dialog->GetResult(&chosen));
    PWSTR path = nullptr;
    check(chosen->GetDisplayName(SIGDN_FILESYSPATH, &path));
    std::filesystem::path folder(path);
    CoTaskMemFree(path);
    return folder;
}

} // namespace zarn::win32
