#include "console.h"
#include "zarn/utf8_path.h"

#include <cstdio>
#include <windows.h>

namespace zarn::cli {
namespace {

// A console shows UTF-16 characters, whatever its code page; files and pipes take the UTF-8 bytes,
// with the C library's line ends.
void write(std::string_view text, DWORD handleId, std::FILE* stream)
{
    const HANDLE handle = GetStdHandle(handleId);
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        const std::wstring wide = utf16FromUtf8(text);
        DWORD written = 0;
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    std::fwrite(text.data(), 1, text.size(), stream);
}

} // namespace

void writeOut(std::string_view text)
{
    write(text, STD_OUTPUT_HANDLE, stdout);
}

void writeError(std::string_view text)
{
    write(text, STD_ERROR_HANDLE, stderr);
}

} // namespace zarn::cli
