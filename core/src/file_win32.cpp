#include "file.h"
#include "refusals.h"
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

// The path in the form that Win32 calls take at any length ("\\?\C:\...", "\\?\UNC\server\...").
std::wstring longForm(const std::filesystem::path& path)
{
    // Not lexically_normal(): it folds the two leading backslashes of a network path into one.
    std::wstring text = path.native();
    std::replace(text.begin(), text.end(), L'/', L'\\');
    if (text.starts_with(L"\\\\?\\")) {
        return text;
    }
    if (text.starts_with(L"\\\\")) {
        return L"\\\\?\\UNC\\" + text.substr(2);
    }
    if (text.size() >= 3 && text[1] == L':' && text[2] == L'\\') {
        return L"\\\\?\\" + text;
    }
    return text;
}

// The system's text for its last error, in UTF-8, without the trailing period and line end.
std::string lastErrorText()
{
    const DWORD error = GetLastError();
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0) {
        return refusals::unknownSystemError(error);
    }
    std::wstring wide(text, length);
    LocalFree(text);
    while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n' || wide.back() == L'.')) {
        wide.pop_back();
    }
    return displayPath(std::filesystem::path(wide));
}

// Why a call on `path` failed: the system's text, and the path's length where that is the likely
// cause, which happens where the user has not turned long paths on.
std::string reasonFor(const std::filesystem::path& path)
{
    const DWORD error = GetLastError();
    std::string reason = lastErrorText();
    const std::size_t length = path.native().size();
    if (length >= MAX_PATH &&
        (error == ERROR_PATH_NOT_FOUND || error == ERROR_FILENAME_EXCED_RANGE ||
         error == ERROR_INVALID_NAME || error == ERROR_FILE_NOT_FOUND)) {
        reason = refusals::pathTooLong(reason, displayPath(path), length);
    }
    return reason;
}

[[noreturn]] void failOn(const std::filesystem::path& path, std::string_view name,
                         FileAction action)
{
    throw RuntimeError(refusals::fileFailed(name, action, reasonFor(path)));
}

// Scanners, indexers and sync tools open files for a moment, new ones above all. A call that meets
// such a hold is tried again after growing pauses, about 1.3 s in all, before its failure counts.
template <typename Call, typename IsHeld>
bool retryWhileHeld(Call call, IsHeld isHeld)
{
    for (DWORD pause = 10;; pause *= 2) {
        if (call()) {
            return true;
        }
        const DWORD error = GetLastError();
        if (!isHeld(error) || pause > 640) {
            SetLastError(error);
            return false;
        }
        Sleep(pause);
    }
}

// How a hold shows when a file is renamed, replaced or removed: a file that is open keeps its name
// with a denied access, and ReplaceFileW has two codes of its own, after which both files still
// have their names.
bool isHeldByAnother(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
           error == ERROR_LOCK_VIOLATION || error == ERROR_UNABLE_TO_REMOVE_REPLACED ||
           error == ERROR_UNABLE_TO_MOVE_REPLACEMENT;
}

template <typename Call>
bool retryWhileHeld(Call call)
{
    return retryWhileHeld(call, isHeldByAnother);
}

// How a hold shows when `where` is opened: another program's handle that shares too little. A
// denied access is a hold only while the name cannot even be looked at, as while a file that
// another program still has open is being removed; a file that the user may not write, a folder,
// and a folder that takes no new files are refused at once.
bool openMeetsHold(DWORD error, const std::wstring& where)
{
    if (error == ERROR_ACCESS_DENIED) {
        return GetFileAttributesW(where.c_str()) == INVALID_FILE_ATTRIBUTES &&
               GetLastError() == ERROR_ACCESS_DENIED;
    }
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// Opens `where`, waiting out another program's hold; an invalid handle where that fails.
HANDLE openWaitingOutHolds(const std::wstring& where, DWORD access, DWORD sharing,
                           DWORD disposition)
{
    HANDLE handle = INVALID_HANDLE_VALUE;
    retryWhileHeld(
        [&] {
            handle = CreateFileW(where.c_str(), access, sharing, nullptr, disposition,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
            return handle != INVALID_HANDLE_VALUE;
        },
        [&](DWORD error) { return openMeetsHold(error, where); });
    return handle;
}

File::Handle openOrFail(const std::filesystem::path& path, DWORD access, DWORD disposition,
                        std::string_view name, FileAction action)
{
    const HANDLE handle = openWaitingOutHolds(longForm(path), access, FILE_SHARE_READ, disposition);
    if (handle == INVALID_HANDLE_VALUE) {
        failOn(path, name, action);
    }
    return reinterpret_cast<File::Handle>(handle);
}

bool moveFile(const std::filesystem::path& from, const std::filesystem::path& to, DWORD flags)
{
    const std::wstring source = longForm(from);
    const std::wstring destination = longForm(to);
    return retryWhileHeld([&] {
        return MoveFileExW(source.c_str(), destination.c_str(), flags | MOVEFILE_WRITE_THROUGH);
    });
}

bool deleteFile(const std::filesystem::path& path)
{
    const std::wstring where = longForm(path);
    return retryWhileHeld([&] { return DeleteFileW(where.c_str()) != 0; });
}

std::filesystem::path withSuffix(const std::filesystem::path& path, const char* suffix)
{
    std::filesystem::path result = path;
    result += suffix;
    return result;
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
    const Handle handle = openOrFail(path, GENERIC_READ, OPEN_EXISTING, name, FileAction::Opened);
    return File(handle, std::move(name));
}

File File::openForUpdate(const std::filesystem::path& path, std::string name)
{
    const Handle handle = openOrFail(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, name,
                                     FileAction::OpenedForWriting);
    return File(handle, std::move(name));
}

// A new file on Windows takes its access rights from its folder, as the replaced file did.
File File::createNew(const std::filesystem::path& path, std::string name, const File*)
{
    const Handle handle = openOrFail(path, GENERIC_WRITE, CREATE_NEW, name, FileAction::Written);
    return File(handle, std::move(name));
}

void File::fail(FileAction action) const
{
    throw RuntimeError(refusals::fileFailed(m_name, action, lastErrorText()));
}

std::uint64_t File::size() const
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(native(m_handle), &size)) {
        fail(FileAction::Read);
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
            fail(FileAction::Read);
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
            fail(FileAction::Written);
        }
        bytes.remove_prefix(put);
    }
}

void File::flushToDisk()
{
    if (!FlushFileBuffers(native(m_handle))) {
        fail(FileAction::FlushedToDisk);
    }
}

void File::close()
{
    if (!CloseHandle(native(std::exchange(m_handle, closedHandle)))) {
        fail(FileAction::Closed);
    }
}

bool isPlainFile(const std::filesystem::path& path)
{
    const DWORD attributes = GetFileAttributesW(longForm(path).c_str());
    constexpr DWORD unlisted =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & unlisted) == 0;
}

FileKind kindAt(const std::filesystem::path& path)
{
    const DWORD attributes = GetFileAttributesW(longForm(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return FileKind::Missing;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return FileKind::Link;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? FileKind::Folder : FileKind::Regular;
}

// Links on Windows need a privilege that only the user's administrator grants, so a link at the
// name is followed as it stands. Any other path stays as it is, since resolving it can only go
// wrong (network folders).
std::filesystem::path followOwnLinks(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) {
        return path;
    }
    const std::filesystem::path followed = std::filesystem::weakly_canonical(path, error);
    return error ? path : followed;
}

// ReplaceFileW keeps what the old file had besides its contents. The old file goes to a backup
// name first, so that where the call stops half way each file can still be found.
void moveOver(const std::filesystem::path& from, const std::filesystem::path& to,
              std::string_view name)
{
    // ReplaceFileW under Wine moves a folder of that name aside instead of failing, as Windows
    // and rename() do.
    const DWORD target = GetFileAttributesW(longForm(to).c_str());
    if (target != INVALID_FILE_ATTRIBUTES && (target & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        throw RuntimeError(
            refusals::fileFailed(name, FileAction::Replaced, refusals::folderHasThatName()));
    }
    const std::filesystem::path backup = withSuffix(to, ".zarn-old");
    removeIfPresent(backup, name);
    const std::wstring replaced = longForm(to);
    const std::wstring replacement = longForm(from);
    const std::wstring backupName = longForm(backup);
    if (retryWhileHeld([&] {
            return ReplaceFileW(replaced.c_str(), replacement.c_str(), backupName.c_str(),
                                REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS,
                                nullptr, nullptr) != 0;
        })) {
        deleteFile(backup);
        return;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND && kindAt(to) == FileKind::Missing) {
        // Nothing to replace: the new file simply takes the name.
        if (!moveFile(from, to, 0)) {
            failOn(to, name, FileAction::Replaced);
        }
        return;
    }
    if (error != ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
        SetLastError(error);
        failOn(to, name, FileAction::Replaced);
    }
    // The old file has gone to the backup name and the new one kept its own: finish the move, or
    // else put the old file back.
    if (moveFile(from, to, 0)) {
        deleteFile(backup);
        return;
    }
    const std::string reason = reasonFor(to);
    if (moveFile(backup, to, 0)) {
        throw RuntimeError(refusals::fileFailed(name, FileAction::Replaced, reason));
    }
    throw ReplacementStoppedHalfWay(refusals::replacementStoppedHalfWay(
        name, displayPath(to), displayPath(backup), displayPath(from), reason));
}

bool moveIfAbsent(const std::filesystem::path& from, const std::filesystem::path& to,
                  std::string_view name)
{
    if (!moveFile(from, to, 0)) {
        const DWORD error = GetLastError();
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
            return false;
        }
        failOn(to, name, FileAction::Created);
    }
    return true;
}

void removeQuietly(const std::filesystem::path& path) noexcept
{
    deleteFile(path);
}

void removeIfPresent(const std::filesystem::path& path, std::string_view name)
{
    if (!deleteFile(path) && GetLastError() != ERROR_FILE_NOT_FOUND) {
        failOn(path, name, FileAction::Written);
    }
}

void checkWritableIfPresent(const std::filesystem::path& path, std::string_view name)
{
    const HANDLE handle = openWaitingOutHolds(longForm(path), GENERIC_WRITE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
    } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
        failOn(path, name, FileAction::Written);
    }
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
