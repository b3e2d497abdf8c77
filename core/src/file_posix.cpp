#include "file.h"
#include "reasons.h"
#include "zarn/runtime_error.h"
#include "zarn/utf8_path.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace zarn {
namespace {

[[noreturn]] void failWithErrno(std::string_view name, FileAction action)
{
    const int error = errno;
    throw RuntimeError(FileFailed{std::string(name), action, std::strerror(error),
                                  faultOf(std::error_code(error, std::generic_category())),
                                  std::nullopt});
}

// A descriptor that is closed at the end of its scope.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(Descriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    ~Descriptor()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

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

// The name of the user with that id, or the id where the system knows no name for it.
std::string userName(uid_t id)
{
    std::vector<char> buffer(16 * 1024);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(id, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
        return shownText(found->pw_name);
    }
    return reasons::unknownUser(id);
}

// Whoever made a file with that owner, where it is neither the user nor the system.
std::optional<std::string> strangerOwning(uid_t owner)
{
    if (owner == ::geteuid() || owner == 0) {
        return std::nullopt;
    }
    return userName(owner);
}

// Where the link open at `fd` (opened with O_PATH | O_NOFOLLOW) leads, as it reads.
std::filesystem::path targetOf(int fd)
{
    std::vector<char> target(4096);
    for (;;) {
        const ssize_t length = ::readlinkat(fd, "", target.data(), target.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<std::size_t>(length) < target.size()) {
            return std::string(target.data(), static_cast<std::size_t>(length));
        }
        target.resize(target.size() * 2);
    }
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

// As many links as the system itself follows in one path.
constexpr int mostLinks = 40;

// Opens the folder at `path`, from the folder open at `start` where it is relative, part by part:
// each part is opened without following a link, and a link is followed, its target read from the
// very link that was looked at, only where the user or the system made it. `shownStart` is where
// `start` lies, for messages.
Descriptor openFolderFrom(int start, const std::filesystem::path& shownStart,
                          const std::filesystem::path& path)
{
    const std::string shownWhole = shownPath(shownStart / path);
    std::deque<std::filesystem::path> parts(path.begin(), path.end());
    std::filesystem::path walked = shownStart;
    Descriptor at(::openat(start, ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
    int linksFollowed = 0;
    while (at.isOpen() && !parts.empty()) {
        const std::filesystem::path part = parts.front();
        parts.pop_front();
        if (part == "/") {
            at = Descriptor(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
            walked = "/";
            continue;
        }
        if (part.empty() || part == ".") {
            continue;
        }
        const std::filesystem::path here = walked / part;
        Descriptor next(::openat(at.get(), part.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
        struct stat status
        {};
        if (!next.isOpen() || ::fstat(next.get(), &status) != 0) {
            failWithErrno(shownPath(here), FileAction::Opened);
        }
        if (S_ISLNK(status.st_mode)) {
            const std::filesystem::path target = targetOf(next.get());
            if (const std::optional<std::string> stranger = strangerOwning(status.st_uid)) {
                const std::filesystem::path leadsTo =
                    target.is_absolute() ? target : (walked / target).lexically_normal();
                throw InTheWay(StrangersFolderLink{shownPath(here), shownPath(leadsTo), *stranger});
            }
            if (target.empty() || ++linksFollowed > mostLinks) {
                errno = target.empty() ? ENOENT : ELOOP;
                failWithErrno(shownPath(here), FileAction::Opened);
            }
            parts.insert(parts.begin(), target.begin(), target.end());
            continue;
        }
        if (!S_ISDIR(status.st_mode)) {
            errno = ENOTDIR;
            failWithErrno(shownPath(here), FileAction::Opened);
        }
        at = std::move(next);
        walked = here;
    }
    Descriptor folder(at.isOpen() ? ::openat(at.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)
                                  : -1);
    if (!folder.isOpen()) {
        failWithErrno(shownWhole, FileAction::Opened);
    }
    return folder;
}

} // namespace

File::~File()
{
    if (m_handle != closedHandle) {
        ::close(static_cast<int>(m_handle));
    }
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

// On Linux the folder is a descriptor, and every name is taken relative to it.
struct Folder::Held
{
    Descriptor fd;

    int get() const { return fd.get(); }

    // Flushes the folder's entries, so that a rename inside it survives a power cut.
    void flush(std::string_view shown) const
    {
        // Some file systems cannot flush a folder at all; that is not a failure of the move.
        if (::fsync(fd.get()) != 0 && errno != EINVAL && errno != ENOTSUP) {
            failWithErrno(shown, FileAction::FlushedToDisk);
        }
    }

    // Refuses anything but a regular file at `name`, where anything is there. `shown` is how the
    // user knows the file, `shownFile` the file itself where a link of theirs leads to it.
    void refuseAnyButAFile(const std::filesystem::path& name, std::string_view shown,
                           std::string_view shownFile) const
    {
        struct stat status
        {};
        if (::fstatat(fd.get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT) {
                failWithErrno(shown, FileAction::Opened);
            }
        } else if (!S_ISREG(status.st_mode)) {
            throw InTheWay(
                NotAFile{std::string(shown), std::string(shownFile), kindOf(status.st_mode)});
        }
    }

    // Opens the regular file `name` for `access`. Anything else is refused before it is opened,
    // and once more after, in case it was swapped in between: the open neither follows a link
    // nor waits for a pipe's writer or a device.
    int openRegularFile(const std::filesystem::path& name, int access, std::string_view shown,
                        std::string_view shownFile, FileAction action) const
    {
        refuseAnyButAFile(name, shown, shownFile);
        Descriptor file(
            ::openat(fd.get(), name.c_str(), access | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat status
        {};
        if (!file.isOpen() || ::fstat(file.get(), &status) != 0) {
            failWithErrno(shown, action);
        }
        if (!S_ISREG(status.st_mode)) {
            throw InTheWay(
                NotAFile{std::string(shown), std::string(shownFile), kindOf(status.st_mode)});
        }
        ::fcntl(file.get(), F_SETFL, ::fcntl(file.get(), F_GETFL) & ~O_NONBLOCK);
        return file.release();
    }

    void rename(const std::filesystem::path& from, const std::filesystem::path& to,
                std::string_view shown, FileAction action) const
    {
        if (::renameat(fd.get(), from.c_str(), fd.get(), to.c_str()) != 0) {
            failWithErrno(shown, action);
        }
    }
};

Folder::Folder(std::filesystem::path path, std::unique_ptr<Held> held)
    : m_path(std::move(path)), m_held(std::move(held))
{}

Folder::Folder(Folder&& other) noexcept = default;
Folder::~Folder() = default;

Folder Folder::open(const std::filesystem::path& path)
{
    return Folder(path, std::make_unique<Held>(Held{openFolderFrom(AT_FDCWD, {}, path)}));
}

Folder Folder::openFrom(const std::filesystem::path& path) const
{
    return Folder(path.is_absolute() ? path : m_path / path,
                  std::make_unique<Held>(Held{openFolderFrom(m_held->get(), m_path, path)}));
}

std::string Folder::shown(const std::filesystem::path& name) const
{
    return shownPath(m_path / name);
}

std::vector<std::filesystem::path> Folder::names() const
{
    std::vector<std::filesystem::path> names;
    Descriptor listed(::openat(m_held->get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    DIR* listing = listed.isOpen() ? ::fdopendir(listed.get()) : nullptr;
    if (listing == nullptr) {
        failWithErrno(shownPath(m_path), FileAction::Read);
    }
    listed.release();
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    ::closedir(listing);
    return names;
}

FileStatus Folder::status(const std::filesystem::path& name) const
{
    const Descriptor entry(::openat(m_held->get(), name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat found
    {};
    if (!entry.isOpen() && errno == ENOENT) {
        return {};
    }
    if (!entry.isOpen() || ::fstat(entry.get(), &found) != 0) {
        failWithErrno(shown(name), FileAction::Opened);
    }
    FileStatus result;
    result.kind = kindOf(found.st_mode);
    result.size = static_cast<std::uint64_t>(found.st_size);
    result.stranger = strangerOwning(found.st_uid);
    if (result.kind == FileKind::Link) {
        result.linkTarget = targetOf(entry.get());
    }
    return result;
}

File Folder::openForReading(const std::filesystem::path& name, std::string shown) const
{
    const int fd =
        m_held->openRegularFile(name, O_RDONLY, shown, this->shown(name), FileAction::Opened);
    return File(fd, std::move(shown));
}

File Folder::openForUpdate(const std::filesystem::path& name, std::string shown) const
{
    const int fd = m_held->openRegularFile(name, O_RDWR, shown, this->shown(name),
                                           FileAction::OpenedForWriting);
    return File(fd, std::move(shown));
}

File Folder::createNew(const std::filesystem::path& name, std::string shown,
                       const File* permissionsFrom) const
{
    struct stat source
    {};
    if (permissionsFrom != nullptr &&
        ::fstat(static_cast<int>(permissionsFrom->m_handle), &source) != 0) {
        permissionsFrom->fail(FileAction::Read);
    }
    const int fd =
        ::openat(m_held->get(), name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                 permissionsFrom != nullptr ? 0600 : 0666);
    if (fd < 0) {
        failWithErrno(shown, FileAction::Created);
    }
    File file(fd, std::move(shown));
    if (permissionsFrom != nullptr && !takePermissions(fd, source)) {
        const int error = errno;
        removeQuietly(name);
        errno = error;
        file.fail(FileAction::Created);
    }
    return file;
}

void Folder::moveOver(const std::filesystem::path& from, const std::filesystem::path& to,
                      std::string_view shown) const
{
    m_held->rename(from, to, shown, FileAction::Replaced);
    m_held->flush(shown);
}

bool Folder::moveOverKeeping(const std::filesystem::path& from, const std::filesystem::path& to,
                             const std::filesystem::path& keepAs, std::string_view shown) const
{
    const bool present = status(to).kind != FileKind::Missing;
    if (present) {
        m_held->rename(to, keepAs, shown, FileAction::Replaced);
    }
    bool moved = false;
    try {
        m_held->rename(from, to, shown, FileAction::Replaced);
        moved = true;
        m_held->flush(shown);
    } catch (const RuntimeError&) {
        // Puts things back as they were, as far as the system lets it.
        if (present) {
            ::renameat(m_held->get(), keepAs.c_str(), m_held->get(), to.c_str());
        } else if (moved) {
            ::unlinkat(m_held->get(), to.c_str(), 0);
        }
        throw;
    }
    return present;
}

void Folder::moveBack(const std::filesystem::path& keptAs, const std::filesystem::path& to,
                      std::string_view shown) const
{
    moveOver(keptAs, to, shown);
}

bool Folder::moveIfAbsent(const std::filesystem::path& from, const std::filesystem::path& to,
                          std::string_view shown) const
{
    const int fd = m_held->get();
    if (::renameat2(fd, from.c_str(), fd, to.c_str(), RENAME_NOREPLACE) != 0) {
        if (errno == EEXIST) {
            return false;
        }
        if (errno != EINVAL) {
            failWithErrno(shown, FileAction::MovedIntoPlace);
        }
        // The file system cannot refuse to replace: look first, then move.
        if (status(to).kind != FileKind::Missing) {
            return false;
        }
        m_held->rename(from, to, shown, FileAction::MovedIntoPlace);
    }
    m_held->flush(shown);
    return true;
}

void Folder::removeIfPresent(const std::filesystem::path& name, std::string_view shown) const
{
    if (::unlinkat(m_held->get(), name.c_str(), 0) != 0 && errno != ENOENT) {
        failWithErrno(shown, FileAction::Removed);
    }
}

void Folder::removeQuietly(const std::filesystem::path& name) const noexcept
{
    ::unlinkat(m_held->get(), name.c_str(), 0);
}

void Folder::checkWritableIfPresent(const std::filesystem::path& name, std::string_view shown) const
{
    m_held->refuseAnyButAFile(name, shown, this->shown(name));
    const Descriptor file(
        ::openat(m_held->get(), name.c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    if (!file.isOpen() && errno != ENOENT) {
        failWithErrno(shown, FileAction::Written);
    }
}

bool Folder::isReadOnlyFile(const std::filesystem::path& name) const
{
    return ::faccessat(m_held->get(), name.c_str(), W_OK, AT_EACCESS | AT_SYMLINK_NOFOLLOW) != 0 &&
           errno == EACCES;
}

std::optional<std::string> Folder::whyRefusesFiles() const
{
    if (::faccessat(m_held->get(), ".", W_OK | X_OK, AT_EACCESS) == 0 ||
        (errno != EACCES && errno != EPERM && errno != EROFS)) {
        return std::nullopt;
    }
    return std::strerror(errno);
}

} // namespace zarn
