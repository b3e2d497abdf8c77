#include "program_folder.h"

#include "texts.h"

#include <string>
#include <system_error>
#include <windows.h>

namespace zarn::win32 {

std::filesystem::path programFolder()
{
    // The path may be longer than MAX_PATH; grow the buffer until it fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                                    texts::findingProgramPath);
        }
        if (length < path.size()) {
            path.resize(length);
            return folderOfProgramPath(path);
        }
        path.resize(path.size() * 2);
    }
}

// Windows may give a long path in its "\\?\C:\..." or "\\?\UNC\server\share\..." form, and Wine a
// network path as "UNC\server\share\...", which would count as a relative path.
std::filesystem::path folderOfProgramPath(std::wstring_view programPath)
{
    std::wstring_view rest = programPath;
    if (rest.starts_with(L"\\\\?\\")) {
        rest.remove_prefix(4);
    }
    std::wstring plain(programPath);
    if (rest.starts_with(L"UNC\\")) {
        plain = L"\\\\" + std::wstring(rest.substr(4));
    } else if (rest.size() >= 3 && rest[1] == L':' && rest[2] == L'\\') {
        plain = rest;
    }
    return std::filesystem::path(plain).parent_path();
}

} // namespace zarn::win32
