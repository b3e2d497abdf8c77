#include "file.h"
#include "messages.h"
#include "zarn/runtime_error.h"

#include <algorithm>
#include <utility>
#include <windows.h>

namespace zarn {
namespace {

const File::Handle closedHandle = reinterpret_cast<File::Handle>(INVALID_HANDLE_VALUE);

HANDLE native(File::Handle handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

// The system's text for its last error, in UTF-8, without the trailing period and line end.
std::string lastErrorText()
{
    const DWORD error = GetLastError();
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring wide =
        length > 0 ? std::wstring(text, length) : L"error " + std::to_wstring(error);
    LocalFree(text);
    while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n' || wide.back() == L'.')) {
        wide.pop_back();
    }
    return displayPath(std::filesystem::path(wide));
}

[[noreturn]] void failWithLastError(std::string_view name, std::string_view action)
{
    throw RuntimeError(messages::fileFailed(name, action, lastErrorText()));
}

File::Handle openOrFail(const std::filesystem::path& path, DWORD access, DWORD disposition,
                        std::string_view name, std::string_view action)
{
    const HANDLE handle = CreateFileW(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        failWithLastError(name, action);
    }
    return reinterpret_cast<File::Handle>(handle);
}

} // namespace

File::File(Handle handle, std::string name) : m_handle(handle), m_name(std::move(name)) {}

File::File(File&& other) noexcept
    : m_handle(std::exchange(other.m_handle, closedHandle)), m_name(std::move(other.m_name))
{}

File::~File()
{
    if (m_handle != closedHandle) {
        CloseHandle(native(m_handle));
    }
}

File File::openForReading(const std::filesystem::path& path, std::string name)
{
    const Handle handle = openOrFail(path, GENERIC_READ, OPEN_EXISTING, name, "opened");
    return File(handle, std::move(name));
}

File File::openForUpdate(const std::filesystem::path& path, std::string name)
{
    const Handle handle =
        openOrFail(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, name, "opened for writing");
    return File(handle, std::move(name));
}

File File::create(const std::filesystem::path& path, std::string name)
{
    const Handle handle = openOrFail(path, GENERIC_WRITE, CREATE_ALWAYS, name, "written");
    return File(handle, std::move(name));
}

void File::fail(std::string_view action) const
{
    failWithLastError(m_name, action);
}

std::uint64_t File::size() const
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(native(m_handle), &size)) {
        fail("read");
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::size_t File::readAt(std::uint64_t offset, char* buffer, std::size_t size) const
{
    std::size_t done = 0;
    while (done < size) {
        OVERLAPPED position{};
        const std::uint64_t at = offset + done;
        position.Offset = static_cast<DWORD>(at);
        position.OffsetHigh = static_cast<DWORD>(at >> 32);
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(native(m_handle), buffer + done, wanted, &got, &position)) {
            if (GetLastError() == ERROR_HANDLE_EOF) {
                break;
            }
            fail("read");
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    return done;
}

void File::write(std::string_view bytes)
{
    while (!bytes.empty()) {
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD put = 0;
        if (!WriteFile(native(m_handle), bytes.data(), wanted, &put, nullptr) || put == 0) {
            fail("written");
        }
        bytes.remove_prefix(put);
    }
}

// A new file on Windows takes its access rights from its folder, as the replaced file did.
void File::copyPermissionsFrom(const File&) {}

void File::flushToDisk()
{
    if (!FlushFileBuffers(native(m_handle))) {
        fail("flushed to disk");
    }
}

void File::close()
{
    if (!CloseHandle(native(std::exchange(m_handle, closedHandle)))) {
        fail("closed");
    }
}

bool isPlainFile(const std::filesystem::path& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    constexpr DWORD unlisted =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & unlisted) == 0;
}

void moveOver(const std::filesystem::path& from, const std::filesystem::path& to,
              std::string_view name)
{
    if (!MoveFileExW(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        failWithLastError(name, "replaced");
    }
}

bool moveIfAbsent(const std::filesystem::path& from, const std::filesystem::path& to,
                  std::string_view name)
{
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
            return false;
        }
        failWithLastError(name, "created");
    }
    return true;
}

void removeQuietly(const std::filesystem::path& path) noexcept
{
    DeleteFileW(path.c_str());
}

void checkWritableIfPresent(const std::filesystem::path& path, std::string_view name)
{
    const HANDLE handle =
        CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
    } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
        failWithLastError(name, "written");
    }
}

std::string displayPath(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool isReadOnlyFile(const std::filesystem::path& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// Windows keeps a folder's permissions in its access list, which only an attempt can read
// reliably: a probe file that the system removes as soon as it is closed.
std::optional<std::string> whyFolderRefusesFiles(const std::filesystem::path& folder)
{
    const std::filesystem::path probe = folder / "zarn-write-probe.zarn-tmp";
    const HANDLE handle =
        CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
        return std::nullopt;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_ACCESS_DENIED && error != ERROR_WRITE_PROTECT) {
        return std::nullopt;
    }
    return lastErrorText();
}

} // namespace zarn
