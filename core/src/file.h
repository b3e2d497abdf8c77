#pragma once

#include "file_kind.h"
#include "refusals.h"
#include "zarn/runtime_error.h"
#include "zarn/utf8_path.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zarn {

// An open file of a transfer, on the host's own file interface so that it can be flushed to the
// disk. Every failing operation throws RuntimeError naming the file as the user knows it.
class File
{
public:
    // The host's handle of an open file, as an integer.
    using Handle = std::intptr_t;

    // Opens a regular file for reading. Anything else at `path` (a folder, a named pipe, a device,
    // a link) is refused before it is read, so that no read can block or run without end.
    static File openForReading(const std::filesystem::path& path, std::string name);
    // The same for reading and writing, which fails for a file the user may not change.
    static File openForUpdate(const std::filesystem::path& path, std::string name);
    // Creates a new file, failing where anything of that name exists: never follows a link. The
    // file takes the permissions of `permissionsFrom` where given, and is private to the user
    // until then, so that nobody can open it in between; otherwise those of any new file.
    static File createNew(const std::filesystem::path& path, std::string name,
                          const File* permissionsFrom);

    File(File&& other) noexcept;
    File& operator=(File&&) = delete;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File();

    std::uint64_t size() const;
    // Reads up to `size` bytes from `offset`; fewer only where the file ends.
    std::size_t readAt(std::uint64_t offset, char* buffer, std::size_t size) const;
    // Appends all the bytes.
    void write(std::string_view bytes);
    void flushToDisk();
    void close();

private:
    File(Handle handle, std::string name);
    [[noreturn]] void fail(FileAction action) const;

    Handle m_handle;
    std::string m_name;
};

// True when `path` names an existing regular file that a folder listing shows (on Windows, one
// not marked hidden or system). Symbolic links count as what they point to.
bool isPlainFile(const std::filesystem::path& path);

// What stands at `path` itself: a link there is not followed. On Windows, a file counts as
// regular whether or not listings show it.
FileKind kindAt(const std::filesystem::path& path);

// A link that another user made: following it would let them choose which of the user's files
// zarn reads or replaces.
class StrangersLink : public RuntimeError
{
public:
    using RuntimeError::RuntimeError;
};

// The file that `path` stands for: where a link there leads, link by link, as long as each link
// is the user's own (or the system's); any other path as it is.
// @throw StrangersLink naming the link, where it leads and whose it is, for any other link.
std::filesystem::path followOwnLinks(const std::filesystem::path& path);

// A replacement that stopped half way: the temporary file holds the only copy of the new
// contents, so it must stay where it is. The text says where each file is.
class ReplacementStoppedHalfWay : public RuntimeError
{
public:
    using RuntimeError::RuntimeError;
};

// Moves `from` over `to` in one step, replacing any file there, and makes the move durable.
// `name` is how the user knows `to`. On Windows the new file keeps what the old one had that is
// not its contents: creation time, attributes, access list, streams.
// @throw ReplacementStoppedHalfWay where the move stopped half way and `from` must be kept.
void moveOver(const std::filesystem::path& from, const std::filesystem::path& to,
              std::string_view name);

// Moves `from` to `to` in one step unless something named `to` exists; then returns false and
// leaves both alone.
bool moveIfAbsent(const std::filesystem::path& from, const std::filesystem::path& to,
                  std::string_view name);

// Removes a file if it is there, ignoring failure: used only to clean up after another failure.
void removeQuietly(const std::filesystem::path& path) noexcept;

// Removes whatever file or link is named `path`, as a name: a link goes, never what it points to.
// `name` is how the user knows the file that `path` belongs to.
void removeIfPresent(const std::filesystem::path& path, std::string_view name);

// Fails with the reason when a file exists at `path` that the user may not write, or something
// that is not a regular file (elsewhere than on Windows).
void checkWritableIfPresent(const std::filesystem::path& path, std::string_view name);

// True when a file exists at `path` that is marked read-only (on Windows) or that the user has no
// permission to write (elsewhere).
bool isReadOnlyFile(const std::filesystem::path& path);

// Why no file can be created in `folder`, where that is so for lack of permission or because it
// lies on a read-only medium; nothing otherwise. Used to explain a failure after it happened.
std::optional<std::string> whyFolderRefusesFiles(const std::filesystem::path& folder);

} // namespace zarn
