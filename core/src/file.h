#pragma once

#include "zarn/outcomes.h"
#include "zarn/runtime_error.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

// The file layer of the transfers, one per system: a folder opened once, and the files in it.
// Each transfer opens the game folder once and finds, reads, writes, renames and removes every
// file by its name in that open folder, never by its path again, so that nobody can swap another
// folder in on the way while it runs. Every failing operation throws RuntimeError naming the file
// as the user knows it.
namespace zarn {

// Whose fault a failure that the system answered with `error` is.
inline FaultOf faultOf(std::error_code error)
{
    for (const std::errc inTheFolder :
         {std::errc::no_such_file_or_directory, std::errc::not_a_directory,
          std::errc::is_a_directory, std::errc::too_many_symbolic_link_levels,
          std::errc::filename_too_long}) {
        if (error == inTheFolder) {
            return FaultOf::Folder;
        }
    }
    return FaultOf::System;
}

// An open file of a transfer, on the host's own file interface so that it can be flushed to the
// disk.
class File
{
public:
    // The host's handle of an open file, as an integer.
    using Handle = std::intptr_t;

    File(File&& other) noexcept
        : m_handle(std::exchange(other.m_handle, closedHandle)), m_name(std::move(other.m_name))
    {}
    File& operator=(File&&) = delete;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File();

    // How messages name the file.
    const std::string& name() const { return m_name; }
    std::uint64_t size() const;
    // Reads up to `size` bytes from `offset`; fewer only where the file ends.
    std::size_t readAt(std::uint64_t offset, char* buffer, std::size_t size) const;
    // Appends all the bytes.
    void write(std::string_view bytes);
    void flushToDisk();
    void close();

private:
    friend class Folder;

    // The handle of no file: a file descriptor of -1, or INVALID_HANDLE_VALUE, which is -1 too.
    static constexpr Handle closedHandle = -1;

    File(Handle handle, std::string name) : m_handle(handle), m_name(std::move(name)) {}
    [[noreturn]] void fail(FileAction action) const;

    Handle m_handle;
    std::string m_name;
};

// What stands at a name in a folder, a link there not followed.
struct FileStatus
{
    FileKind kind = FileKind::Missing;
    std::uint64_t size = 0;
    // On Windows, a file that folder listings do not show: one marked hidden or system.
    bool unlisted = false;
    // Who made it, as messages name users, where that is neither the user nor the system (root).
    // Never on Windows.
    std::optional<std::string> stranger;
    // Where a link leads, as it reads.
    std::filesystem::path linkTarget;
};

// A folder, opened once. Names are single parts of a path; `shown` is how messages name the
// file that an operation is about. Where it lies (path()) serves messages only.
class Folder
{
public:
    // Opens the folder at `path`. A link on the way is followed where the user or the system made
    // it; on Windows, where links need a privilege, the folder and every folder on the way are held
    // so that none can be renamed, removed or replaced while this lives.
    // @throw InTheWay (StrangersFolderLink) where another user made a link on the way: following
    // it would let them choose which of the user's folders zarn reads or replaces.
    // @throw RuntimeError where the folder cannot be opened.
    static Folder open(const std::filesystem::path& path);
    // The folder at `path` as a link in this folder leads there: a relative path starts here.
    Folder openFrom(const std::filesystem::path& path) const;

    Folder(Folder&& other) noexcept;
    Folder& operator=(Folder&&) = delete;
    ~Folder();

    // Where the folder lies, as the user gave it.
    const std::filesystem::path& path() const { return m_path; }
    // A name in the folder, as messages show it: its whole path.
    std::string shown(const std::filesystem::path& name) const;

    // The names in the folder.
    std::vector<std::filesystem::path> names() const;
    FileStatus status(const std::filesystem::path& name) const;

    // Opens the regular file `name`. Anything else there (a folder, a named pipe, a device, a link)
    // is refused before it is read, so that no read can block or run without end.
    // @throw InTheWay where something other than a regular file stands there.
    File openForReading(const std::filesystem::path& name, std::string shown) const;
    // The same for reading and writing, which fails for a file the user may not change.
    File openForUpdate(const std::filesystem::path& name, std::string shown) const;
    // Creates a new file, failing where anything of that name exists: never follows a link. The
    // file takes the permissions of `permissionsFrom` where given, and is private to the user
    // until then, so that nobody can open it in between; otherwise those of any new file.
    File createNew(const std::filesystem::path& name, std::string shown,
                   const File* permissionsFrom) const;

    // Moves `from` over `to` in one step, replacing any file there, and makes the move durable.
    // On Windows the new file keeps what the old one had that is not its contents: creation
    // time, attributes, access list, streams.
    // @throw RuntimeError (ReplacementStoppedHalfWay) where the move stopped half way, and `from`,
    // which holds the only copy of the new contents, must be kept.
    void moveOver(const std::filesystem::path& from, const std::filesystem::path& to,
                  std::string_view shown) const;
    // The same, keeping the file it replaces, where there is one, at `keepAs`, where nothing
    // may stand. Returns whether there was one. Where it fails, both are put back as they were.
    bool moveOverKeeping(const std::filesystem::path& from, const std::filesystem::path& to,
                         const std::filesystem::path& keepAs, std::string_view shown) const;
    // Puts the file that moveOverKeeping kept at `keptAs` back in place of `to`, as it was.
    void moveBack(const std::filesystem::path& keptAs, const std::filesystem::path& to,
                  std::string_view shown) const;
    // Moves `from` to `to` in one step unless something named `to` exists; then returns false and
    // leaves both alone.
    bool moveIfAbsent(const std::filesystem::path& from, const std::filesystem::path& to,
                      std::string_view shown) const;
    // Removes whatever file or link is named `name`, as a name: a link goes, never what it points
    // to.
    void removeIfPresent(const std::filesystem::path& name, std::string_view shown) const;
    // The same, ignoring failure: used only to clean up after another failure.
    void removeQuietly(const std::filesystem::path& name) const noexcept;

    // Fails with the reason when a file `name` exists that the user may not write.
    void checkWritableIfPresent(const std::filesystem::path& name, std::string_view shown) const;
    // True when a file `name` exists that is marked read-only (on Windows) or that the user has
    // no permission to write (elsewhere).
    bool isReadOnlyFile(const std::filesystem::path& name) const;
    // Why no file can be created here, where that is so for lack of permission or because the
    // folder lies on a read-only medium; nothing otherwise. Used to explain a failure after it
    // happened.
    std::optional<std::string> whyRefusesFiles() const;

private:
    // The system's hold on the folder.
    struct Held;

    Folder(std::filesystem::path path, std::unique_ptr<Held> held);

    std::filesystem::path m_path;
    std::unique_ptr<Held> m_held;
};

} // namespace zarn
