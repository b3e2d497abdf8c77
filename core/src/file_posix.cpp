#include "file.h"
#include "refusals.h"
#include "zarn/runtime_error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace zarn {
namespace {

constexpr File::Handle closedHandle = -1;

[[noreturn]] void failWithErrno(std::string_view name, FileAction action)
{
    throw RuntimeError(refusals::fileFailed(name, action, std::strerror(errno)));
}

int openOrFail(const std::filesystem::path& path, int flags, std::string_view name,
               FileAction action, mode_t mode = 0)
{
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
    if (fd < 0) {
        failWithErrno(name, action);
    }
    return fd;
}

FileKind kindOf(mode_t mode)
{
    if (S_ISREG(mode)) {
        return FileKind::Regular;
    }
    if (S_ISLNK(mode)) {
        return FileKind::Link;
    }
    if (S_ISDIR(mode)) {
        return FileKind::Folder;
    }
    if (S_ISFIFO(mode)) {
        return FileKind::NamedPipe;
    }
    return S_ISSOCK(mode) ? FileKind::Socket : FileKind::Device;
}

[[noreturn]] void refuseNotAFile(const std::filesystem::path& path, std::string_view name,
                                 mode_t mode)
{
    throw RuntimeError(refusals::notAFile(name, displayPath(path), kindOf(mode)));
}

// Refuses anything but a regular file at `path`, where anything is there.
void refuseAnyButAFile(const std::filesystem::path& path, std::string_view name)
{
    struct stat status
    {};
    if (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        refuseNotAFile(path, name, status.st_mode);
    }
}

// Opens the regular file at `path` for `access`. Anything else is refused before it is opened,
// and once more after, in case it was swapped in between: the open neither follows a link nor
// waits for a pipe's writer or a device.
int openRegularFile(const std::filesystem::path& path, int access, std::string_view name,
                    FileAction action)
{
    refuseAnyButAFile(path, name);
    struct stat status
    {};
    const int fd = openOrFail(path, access | O_NOFOLLOW | O_NONBLOCK, name, action);
    const int statusResult = ::fstat(fd, &status);
    const int error = errno;
    if (statusResult != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        if (statusResult != 0) {
            errno = error;
            failWithErrno(name, action);
        }
        refuseNotAFile(path, name, status.st_mode);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

// The name of the user with that id, or the id where the system knows no name for it.
std::string userName(uid_t id)
{
    std::vector<char> buffer(16 * 1024);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(id, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
        return found->pw_name;
    }
    return refusals::unknownUser(id);
}

// Flushes a folder's entries, so that a rename inside it survives a power cut.
void flushFolder(const std::filesystem::path& folder, std::string_view name)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        failWithErrno(name, FileAction::FlushedToDisk);
    }
    // Some file systems cannot flush a folder at all; that is not a failure of the move.
    if (::fsync(fd) != 0 && errno != EINVAL && errno != ENOTSUP) {
        const int error = errno;
        ::close(fd);
        errno = error;
        failWithErrno(name, FileAction::FlushedToDisk);
    }
    ::close(fd);
}

// FAT, NTFS and network file systems keep no POSIX permissions, and say so in several ways.
bool cannotKeepPermissions(int error)
{
    return error == ENOSYS || error == ENOTSUP || error == EOPNOTSUPP || error == EPERM ||
           error == EINVAL;
}

// Gives the file the permissions of `source`, never more open than those: its mode, and its owner
// and group where the user may set them. Where the group cannot be kept, the file's own group
// gets no more than everybody else had. File systems that keep no permissions are no failure.
bool takePermissions(int fd, const struct stat& source)
{
    mode_t mode = source.st_mode & 0777;
    if (::fchown(fd, source.st_uid, source.st_gid) != 0 &&
        ::fchown(fd, static_cast<uid_t>(-1), source.st_gid) != 0) {
        mode = (mode & ~S_IRWXG) | (mode & S_IRWXG & (mode & S_IRWXO) << 3);
    }
    return ::fchmod(fd, mode) == 0 || cannotKeepPermissions(errno);
}

std::filesystem::path folderOf(const std::filesystem::path& path)
{
    const auto folder = path.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

} // namespace

File::File(Handle handle, std::string name) : m_handle(handle), m_name(std::move(name)) {}

File::File(File&& other) noexcept
    : m_handle(std::exchange(other.m_handle, closedHandle)), m_name(std::move(other.m_name))
{}

File::~File()
{
    if (m_handle != closedHandle) {
        ::close(static_cast<int>(m_handle));
    }
}

File File::openForReading(const std::filesystem::path& path, std::string name)
{
    const int fd = openRegularFile(path, O_RDONLY, name, FileAction::Opened);
    return File(fd, std::move(name));
}

File File::openForUpdate(const std::filesystem::path& path, std::string name)
{
    const int fd = openRegularFile(path, O_RDWR, name, FileAction::OpenedForWriting);
    return File(fd, std::move(name));
}

File File::createNew(const std::filesystem::path& path, std::string name,
                     const File* permissionsFrom)
{
    struct stat source
    {};
    if (permissionsFrom != nullptr &&
        ::fstat(static_cast<int>(permissionsFrom->m_handle), &source) != 0) {
        permissionsFrom->fail(FileAction::Read);
    }
    const int fd = openOrFail(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, name,
                              FileAction::Written, permissionsFrom != nullptr ? 0600 : 0666);
    File file(fd, std::move(name));
    if (permissionsFrom != nullptr && !takePermissions(fd, source)) {
        const int error = errno;
        removeQuietly(path);
        errno = error;
        file.fail(FileAction::Written);
    }
    return file;
}

void File::fail(FileAction action) const
{
    failWithErrno(m_name, action);
}

std::uint64_t File::size() const
{
    struct stat status
    {};
    if (::fstat(static_cast<int>(m_handle), &status) != 0) {
        fail(FileAction::Read);
    }
    return static_cast<std::uint64_t>(status.st_size);
}

std::size_t File::readAt(std::uint64_t offset, char* buffer, std::size_t size) const
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(static_cast<int>(m_handle), buffer + done, size - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            fail(FileAction::Read);
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

void File::write(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t put = ::write(static_cast<int>(m_handle), bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            fail(FileAction::Written);
        }
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
}

void File::flushToDisk()
{
    if (::fsync(static_cast<int>(m_handle)) != 0) {
        fail(FileAction::FlushedToDisk);
    }
}

void File::close()
{
    const int fd = static_cast<int>(std::exchange(m_handle, closedHandle));
    if (::close(fd) != 0) {
        fail(FileAction::Closed);
    }
}

bool isPlainFile(const std::filesystem::path& path)
{
    struct stat status
    {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

FileKind kindAt(const std::filesystem::path& path)
{
    struct stat status
    {};
    return ::lstat(path.c_str(), &status) == 0 ? kindOf(status.st_mode) : FileKind::Missing;
}

std::filesystem::path followOwnLinks(const std::filesystem::path& path)
{
    // As many links as the system itself follows in one path.
    constexpr int mostLinks = 40;
    std::filesystem::path at = path;
    for (int followed = 0; followed < mostLinks; ++followed) {
        struct stat status
        {};
        if (::lstat(at.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            return at;
        }
        std::error_code error;
        const std::filesystem::path target = std::filesystem::read_symlink(at, error);
        if (error) {
            return at;
        }
        if (status.st_uid != ::geteuid() && status.st_uid != 0) {
            throw StrangersLink(refusals::strangersLink(displayPath(at), displayPath(target),
                                                        userName(status.st_uid)));
        }
        at = target.is_absolute() ? target : at.parent_path() / target;
    }
    errno = ELOOP;
    failWithErrno(displayPath(path), FileAction::Opened);
}

void moveOver(const std::filesystem::path& from, const std::filesystem::path& to,
              std::string_view name)
{
    if (::rename(from.c_str(), to.c_str()) != 0) {
        failWithErrno(name, FileAction::Replaced);
    }
    flushFolder(folderOf(to), name);
}

bool moveIfAbsent(const std::filesystem::path& from, const std::filesystem::path& to,
                  std::string_view name)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0) {
        if (errno == EEXIST) {
            return false;
        }
        if (errno != EINVAL) {
            failWithErrno(name, FileAction::Created);
        }
        // The file system cannot refuse to replace: look first, then move.
        struct stat status
        {};
        if (::lstat(to.c_str(), &status) == 0) {
            return false;
        }
        if (::rename(from.c_str(), to.c_str()) != 0) {
            failWithErrno(name, FileAction::Created);
        }
    }
    flushFolder(folderOf(to), name);
    return true;
}

void removeQuietly(const std::filesystem::path& path) noexcept
{
    ::unlink(path.c_str());
}

void removeIfPresent(const std::filesystem::path& path, std::string_view name)
{
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        failWithErrno(name, FileAction::Written);
    }
}

void checkWritableIfPresent(const std::filesystem::path& path, std::string_view name)
{
    refuseAnyButAFile(path, name);
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
    } else if (errno != ENOENT) {
        failWithErrno(name, FileAction::Written);
    }
}

bool isReadOnlyFile(const std::filesystem::path& path)
{
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES;
}

std::optional<std::string> whyFolderRefusesFiles(const std::filesystem::path& folder)
{
    if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0 ||
        (errno != EACCES && errno != EPERM && errno != EROFS)) {
        return std::nullopt;
    }
    return std::strerror(errno);
}

} // namespace zarn
