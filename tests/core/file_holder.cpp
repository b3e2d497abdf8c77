// Holds a file open for a while, as a virus scanner, a search indexer or a sync tool does with a
// file that has just been written: usage "file_holder PATH MILLISECONDS SHARING EVENT". Signals
// the named event EVENT-started, waits until PATH can be opened (up to 20 s), signals EVENT-held,
// keeps the file open for MILLISECONDS and closes it. SHARING "all" lets others read, write and
// delete the file meanwhile; "no-delete" lets them read and write it but not rename or delete it;
// "none" keeps it to itself.
// Exits with 0, or 2 where the file never opened.
#include <cwchar>
#include <string>
#include <windows.h>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 5) {
        return 1;
    }
    const DWORD milliseconds = std::wcstoul(argv[2], nullptr, 10);
    const DWORD sharing =
        std::wcscmp(argv[3], L"all") == 0 ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE
        : std::wcscmp(argv[3], L"no-delete") == 0 ? FILE_SHARE_READ | FILE_SHARE_WRITE
                                                  : 0;
    const std::wstring event = argv[4];
    SetEvent(OpenEventW(EVENT_MODIFY_STATE, FALSE, (event + L"-started").c_str()));
    const ULONGLONG giveUp = GetTickCount64() + 20000;
    HANDLE file = INVALID_HANDLE_VALUE;
    while (file == INVALID_HANDLE_VALUE && GetTickCount64() < giveUp) {
        file = CreateFileW(argv[1], GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    if (file == INVALID_HANDLE_VALUE) {
        return 2;
    }
    SetEvent(OpenEventW(EVENT_MODIFY_STATE, FALSE, (event + L"-held").c_str()));
    Sleep(milliseconds);
    CloseHandle(file);
    return 0;
}
