#include "program_folder.h"

#include "texts.h"
#include "zarn/windows_path.h"

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
            // Windows may give a long path with its prefix, and Wine a network path as
            // "UNC\server\share\...", which would count as a relative path.
            return std::filesystem::path(withoutLongPathPrefix(path)).parent_path();
        }
        path.resize(path.size() * 2);
    }
}

} // namespace zarn::win32
