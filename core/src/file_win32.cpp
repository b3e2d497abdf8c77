#include "file.h"
#include "reasons.h"
#include "zarn/runtime_error.h"
#include "zarn/utf8_path.h"
#include "zarn/windows_path.h"

#include <algorithm>
#include <utility>
#include <windows.h>

namespace zarn {
namespace {

HANDLE native(File::Handle handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

// The path in full: taken as it is where it names its drive or network folder, and from the
// current folder otherwise. Not std::filesystem::absolute(): the C++ library of this build takes
// "\\server\share" for a path on the current drive.
std::wstring fullPath(const std::filesystem::path& path)
{
    const std::wstring text = path.native();
    if (text.starts_with(L"\\\\") || (text.size() >= 3 && text[1] == L':')) {
        return text;
    }
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFullPathNameW(text.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) {
            return text;
        }
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length);
    }
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
        return reasons::unknownSystemError(error);
    }
    std::wstring wide(text, length);
    LocalFree(text);
    while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n' || wide.back() == L'.')) {
        wide.pop_back();
    }
    return shownText(utf8FromUtf16(wide));
}

// Whose fault a call that failed with `error` is.
FaultOf faultOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY:
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_CANT_RESOLVE_FILENAME:
        return FaultOf::Folder;
    default:
        return FaultOf::System;
    }
}

// How the last call on `path`, for the file `name`, failed: the system's text, and the path's
// length where that is the likely cause, which happens where the user has not turned long paths
// on.
FileFailed failureOn(const std::wstring& path, std::string_view name, FileAction action)
{
    const DWORD error = GetLastError();
    FileFailed failure{std::string(name), action, lastErrorText(), faultOf(error), std::nullopt};
    const std::wstring shown = withoutLongPathPrefix(path);
    if (shown.size() >= MAX_PATH &&
        (error == ERROR_PATH_NOT_FOUND || error == ERROR_FILENAME_EXCED_RANGE ||
         error == ERROR_INVALID_NAME || error == ERROR_FILE_NOT_FOUND)) {
        failure.longPath = LongPath{shownPath(shown), shown.size()};
    }
    return failure;
}

[[noreturn]] void failOn(const std::wstring& path, std::string_view name, FileAction action)
{
    throw RuntimeError(failureOn(path, name, action));
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

File::Handle openOrFail(const std::wstring& where, DWORD access, DWORD disposition,
                        std::string_view name, FileAction action)
{
    const HANDLE handle = openWaitingOutHolds(where, access, FILE_SHARE_READ, disposition);
    if (handle == INVALID_HANDLE_VALUE) {
        failOn(where, name, action);
    }
    return reinterpret_cast<File::Handle>(handle);
}

bool moveFile(const std::wstring& from, const std::wstring& to, DWORD flags)
{
    return retryWhileHeld(
        [&] { return MoveFileExW(from.c_str(), to.c_str(), flags | MOVEFILE_WRITE_THROUGH); });
}

bool deleteFile(const std::wstring& where)
{
    return retryWhileHeld([&] { return DeleteFileW(where.c_str()) != 0; });
}

// The path of the file or folder open at `handle` as the system has it, links and junctions
// resolved, in the long form; empty where the system cannot tell.
std::wstring finalPathOf(HANDLE handle)
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return withLongPathPrefix(path);
        }
        path.resize(length);
    }
}

// Opens a folder to hold it: without sharing the right to delete, so that nobody can rename or
// remove it, or put another folder or a junction in its place, while the handle is open.
// `flags` may add FILE_FLAG_OPEN_REPARSE_POINT, to hold a junction itself.
HANDLE holdFolder(const std::wstring& where, DWORD flags)
{
    HANDLE handle = INVALID_HANDLE_VALUE;
    retryWhileHeld(
        [&] {
            handle =
                CreateFileW(where.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
            return handle != INVALID_HANDLE_VALUE;
        },
        [](DWORD error) { return error == ERROR_SHARING_VIOLATION; });
    return handle;
}

bool isSameFile(HANDLE one, HANDLE other)
{
    BY_HANDLE_FILE_INFORMATION a{};
    BY_HANDLE_FILE_INFORMATION b{};
    return GetFileInformationByHandle(one, &a) && GetFileInformationByHandle(other, &b) &&
           a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

// Where the folders that may be held begin in a long path: after the drive, or after the server
// and share of a network path.
std::size_t rootLength(const std::wstring& path)
{
    std::size_t separatorsToSkip = 1;
    std::size_t at = 4;
    if (path.starts_with(L"\\\\?\\UNC\\")) {
        separatorsToSkip = 2;
        at = 8;
    }
    for (; separatorsToSkip > 0 && at != std::wstring::npos; --separatorsToSkip) {
        at = path.find(L'\\', at);
        at = at == std::wstring::npos ? at : at + 1;
    }
    return at == std::wstring::npos ? path.size() : at;
}

} // namespace

File::~File()
{
    if (m_handle != closedHandle) {
        CloseHandle(native(m_handle));
    }
}

void File::fail(FileAction action) const
{
    const DWORD error = GetLastError();
    throw RuntimeError(FileFailed{m_name, action, lastErrorText(), faultOf(error), std::nullopt});
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

// Win32 file calls take no folder handle to work relative to, so on Windows the folder and every
// folder on the way to it are held open without sharing the right to delete, for as long as the
// Folder lives: none of them can be renamed, removed or replaced by another folder or a junction
// meanwhile, and the folder's real path, junctions resolved, keeps leading to it. Files are named
// by that path.
struct Folder::Held
{
    Held() = default;
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    ~Held()
    {
        for (const HANDLE handle : held) {
            CloseHandle(handle);
        }
    }

    // Holds the folder at `where`, and every folder on its real path. `shown` names it in
    // messages.
    static std::unique_ptr<Held> of(const std::filesystem::path& where, const std::string& shown);

    std::wstring at(const std::filesystem::path& name) const
    {
        return real + L"\\" + name.native();
    }

    std::wstring real;
    std::vector<HANDLE> held;
};

std::unique_ptr<Folder::Held> Folder::Held::of(const std::filesystem::path& where,
                                               const std::string& shown)
{
    const std::wstring named = withLongPathPrefix(fullPath(where));
    const HANDLE folder = holdFolder(named, 0);
    if (folder == INVALID_HANDLE_VALUE) {
        failOn(named, shown, FileAction::Opened);
    }
    auto result = std::make_unique<Held>();
    result->held.push_back(folder);
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(folder, &information)) {
        failOn(named, shown, FileAction::Opened);
    }
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        SetLastError(ERROR_DIRECTORY);
        failOn(named, shown, FileAction::Opened);
    }
    std::wstring real = finalPathOf(folder);
    if (real.empty()) {
        real = named;
    }
    while (real.size() > rootLength(real) && real.back() == L'\\') {
        real.pop_back();
    }
    for (std::size_t end = rootLength(real); end < real.size();) {
        const std::size_t separator = real.find(L'\\', end);
        end = separator == std::wstring::npos ? real.size() : separator;
        const std::wstring part = real.substr(0, end);
        const HANDLE handle = holdFolder(part, FILE_FLAG_OPEN_REPARSE_POINT);
        if (handle == INVALID_HANDLE_VALUE) {
            failOn(part, shown, FileAction::Opened);
        }
        result->held.push_back(handle);
        ++end;
    }
    if (result->held.size() > 1 && !isSameFile(folder, result->held.back())) {
        throw RuntimeError(FileFailed{shown, FileAction::Opened, reasons::folderMovedMeanwhile(),
                                      FaultOf::System, std::nullopt});
    }
    result->real = real;
    return result;
}

Folder::Folder(std::filesystem::path path, std::unique_ptr<Held> held)
    : m_path(std::move(path)), m_held(std::move(held))
{}

Folder::Folder(Folder&& other) noexcept = default;
Folder::~Folder() = default;

Folder Folder::open(const std::filesystem::path& path)
{
    return Folder(path, Held::of(path, shownPath(path)));
}

Folder Folder::openFrom(const std::filesystem::path& path) const
{
    const std::filesystem::path shown = path.is_absolute() ? path : m_path / path;
    return Folder(shown, Held::of(std::filesystem::path(m_held->real) / path, shownPath(shown)));
}

std::string Folder::shown(const std::filesystem::path& name) const
{
    return shownPath(m_path / name);
}

std::vector<std::filesystem::path> Folder::names() const
{
    std::vector<std::filesystem::path> names;
    WIN32_FIND_DATAW entry{};
    const std::wstring pattern = m_held->real + L"\\*";
    const HANDLE search = FindFirstFileW(pattern.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_FILE_NOT_FOUND) {
            return names;
        }
        failOn(pattern, shownPath(m_path), FileAction::Read);
    }
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") {
            names.emplace_back(name);
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return names;
}

// A link is followed as it stands: links on Windows need a privilege that only the user's
// administrator grants. Its target is where the system resolves it, and a link that leads nowhere
// counts as missing.
FileStatus Folder::status(const std::filesystem::path& name) const
{
    const std::wstring where = m_held->at(name);
    WIN32_FIND_DATAW entry{};
    const HANDLE search = FindFirstFileW(where.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return {};
        }
        failOn(where, shown(name), FileAction::Opened);
    }
    FindClose(search);
    FileStatus status;
    status.size = static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32 | entry.nFileSizeLow;
    status.unlisted =
        (entry.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
    status.kind = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? FileKind::Folder
                                                                           : FileKind::Regular;
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
        entry.dwReserved0 == IO_REPARSE_TAG_SYMLINK) {
        const HANDLE target =
            CreateFileW(where.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (target == INVALID_HANDLE_VALUE) {
            return {};
        }
        status.linkTarget = finalPathOf(target);
        CloseHandle(target);
        status.kind = status.linkTarget.empty() ? FileKind::Missing : FileKind::Link;
    }
    return status;
}

File Folder::openForReading(const std::filesystem::path& name, std::string shown) const
{
    const File::Handle handle =
        openOrFail(m_held->at(name), GENERIC_READ, OPEN_EXISTING, shown, FileAction::Opened);
    return File(handle, std::move(shown));
}

File Folder::openForUpdate(const std::filesystem::path& name, std::string shown) const
{
    const File::Handle handle = openOrFail(m_held->at(name), GENERIC_READ | GENERIC_WRITE,
                                           OPEN_EXISTING, shown, FileAction::OpenedForWriting);
    return File(handle, std::move(shown));
}

// A new file on Windows takes its access rights from its folder, as the replaced file did.
File Folder::createNew(const std::filesystem::path& name, std::string shown, const File*) const
{
    const File::Handle handle =
        openOrFail(m_held->at(name), GENERIC_WRITE, CREATE_NEW, shown, FileAction::Created);
    return File(handle, std::move(shown));
}

// ReplaceFileW keeps what the old file had besides its contents. The old file goes to the name
// kept first, so that where the call stops half way each file can still be found.
bool Folder::moveOverKeeping(const std::filesystem::path& from, const std::filesystem::path& to,
                             const std::filesystem::path& keepAs, std::string_view shown) const
{
    const std::wstring replaced = m_held->at(to);
    const std::wstring replacement = m_held->at(from);
    const std::wstring kept = m_held->at(keepAs);
    // ReplaceFileW under Wine moves a folder of that name aside instead of failing, as Windows
    // and rename() do.
    const DWORD target = GetFileAttributesW(replaced.c_str());
    if (target != INVALID_FILE_ATTRIBUTES && (target & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        throw RuntimeError(FileFailed{std::string(shown), FileAction::Replaced,
                                      reasons::folderHasThatName(), FaultOf::Folder, std::nullopt});
    }
    if (retryWhileHeld([&] {
            return ReplaceFileW(replaced.c_str(), replacement.c_str(), kept.c_str(),
                                REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS,
                                nullptr, nullptr) != 0;
        })) {
        return true;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND &&
        GetFileAttributesW(replaced.c_str()) == INVALID_FILE_ATTRIBUTES) {
        // Nothing to replace: the new file simply takes the name.
        if (!moveFile(replacement, replaced, 0)) {
            failOn(replaced, shown, FileAction::Replaced);
        }
        return false;
    }
    if (error != ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
        SetLastError(error);
        failOn(replaced, shown, FileAction::Replaced);
    }
    // The old file has gone to the name kept and the new one kept its own: finish the move, or
    // else put the old file back.
    if (moveFile(replacement, replaced, 0)) {
        return true;
    }
    const FileFailed failure = failureOn(replaced, shown, FileAction::Replaced);
    if (moveFile(kept, replaced, 0)) {
        throw RuntimeError(failure);
    }
    throw RuntimeError(ReplacementStoppedHalfWay{failure, this->shown(to), this->shown(keepAs),
                                                 this->shown(from)});
}

void Folder::moveOver(const std::filesystem::path& from, const std::filesystem::path& to,
                      std::string_view shown) const
{
    std::filesystem::path kept = to;
    kept += ".zarn-old";
    removeIfPresent(kept, shown);
    if (moveOverKeeping(from, to, kept, shown)) {
        deleteFile(m_held->at(kept));
    }
}

void Folder::moveBack(const std::filesystem::path& keptAs, const std::filesystem::path& to,
                      std::string_view shown) const
{
    if (!moveFile(m_held->at(keptAs), m_held->at(to), MOVEFILE_REPLACE_EXISTING)) {
        failOn(m_held->at(to), shown, FileAction::Replaced);
    }
}

bool Folder::moveIfAbsent(const std::filesystem::path& from, const std::filesystem::path& to,
                          std::string_view shown) const
{
    if (!moveFile(m_held->at(from), m_held->at(to), 0)) {
        const DWORD error = GetLastError();
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
            return false;
        }
        failOn(m_held->at(to), shown, FileAction::MovedIntoPlace);
    }
    return true;
}

void Folder::removeIfPresent(const std::filesystem::path& name, std::string_view shown) const
{
    if (!deleteFile(m_held->at(name)) && GetLastError() != ERROR_FILE_NOT_FOUND) {
        failOn(m_held->at(name), shown, FileAction::Removed);
    }
}

void Folder::removeQuietly(const std::filesystem::path& name) const noexcept
{
    deleteFile(m_held->at(name));
}

void Folder::checkWritableIfPresent(const std::filesystem::path& name, std::string_view shown) const
{
    const std::wstring where = m_held->at(name);
    const HANDLE handle = openWaitingOutHolds(where, GENERIC_WRITE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
    } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
        failOn(where, shown, FileAction::Written);
    }
}

bool Folder::isReadOnlyFile(const std::filesystem::path& name) const
{
    const DWORD attributes = GetFileAttributesW(m_held->at(name).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// Windows keeps a folder's permissions in its access list, which only an attempt can read
// reliably: a probe file that the system removes as soon as it is closed.
std::optional<std::string> Folder::whyRefusesFiles() const
{
    const std::wstring probe = m_held->at("zarn-write-probe.zarn-tmp");
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
