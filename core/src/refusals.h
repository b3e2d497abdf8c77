#pragma once

#include "file_kind.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zarn {

// What a file operation that failed was to do.
enum class FileAction
{
    Opened,
    OpenedForWriting,
    Read,
    Written,
    FlushedToDisk,
    Closed,
    Replaced,
    Created,
};

} // namespace zarn

// Every text that the core shows or reports, in one place.
namespace zarn::refusals {

std::string selectGame();
std::string wrongLength();
std::string wrongAddress();
std::string executableMissing(std::string_view targetPath);
std::string regionPastEnd(std::int32_t slotAddress, std::uint64_t length,
                          std::string_view targetFile);

// Refusals of a slot file. Each ends in a line saying that `targetFile`, the executable the file
// was to go into, was not modified; none has that line where the file was checked on its own.
std::string wrongCount(int count, std::optional<std::string_view> targetFile);
std::string extraEntries(std::size_t count, const std::optional<std::string>& whereToLook,
                         std::optional<std::string_view> targetFile);
std::string entryOutOfRange(double entry, std::size_t line,
                            std::optional<std::string_view> targetFile);
// Refusals of entries that do not form the table's 180 lists, and the line of each that points to
// the list the user most likely changed. `list` counts from 0, country by country.
std::string entryAfterLastList(std::size_t line, const std::optional<std::string>& whereToLook,
                               std::optional<std::string_view> targetFile);
std::string lastListOpen(std::size_t line, std::size_t list,
                         const std::optional<std::string>& whereToLook,
                         std::optional<std::string_view> targetFile);
std::string terminatorMissing(std::size_t terminators, std::size_t lastLine,
                              const std::optional<std::string>& whereToLook,
                              std::optional<std::string_view> targetFile);
std::string firstDifferingList(std::size_t list, std::size_t line, std::string_view targetFile);
std::string entriesAfterAgreeingLists(std::size_t line, std::string_view targetFile);

// Run-time error texts. Each names its file by its full path, as shownPath gives it.
std::string fileFailed(std::string_view file, FileAction action, std::string_view reason);
// Reasons for failures that the system gives no text for.
std::string folderHasThatName();
std::string folderMovedMeanwhile();
std::string unknownSystemError(unsigned long code);
// A user whom the system knows by number only.
std::string unknownUser(unsigned long id);
std::string folderNotWritable(std::string_view folder, std::string_view reason);
std::string readOnlyFile(std::string_view file);
std::string slotFileTooShort(std::string_view slotFile, std::size_t items, std::size_t entries);
std::string addressBeforeStart(std::int32_t slotAddress, std::string_view targetFile);
std::string listRunsOffEnd(std::string_view targetFile, std::uint64_t length, int country,
                           int unitClass);
std::string safetyCopyFailed(std::string_view targetFile, std::string_view reason);
std::string pathTooLong(std::string_view reason, std::string_view path, std::size_t length);
std::string replacementStoppedHalfWay(std::string_view file, std::string_view target,
                                      std::string_view oldContents, std::string_view newContents,
                                      std::string_view reason);

// Refusals of what stands in a folder, told before anything is written.
std::string safetyCopyInTheWay(std::string_view safetyCopy, FileKind kind);
std::string backupInTheWay(std::string_view backup, FileKind kind, std::string_view slotFile);
std::string safetyCopyNotYours(std::string_view safetyCopy, std::string_view owner);
std::string safetyCopyWrongLength(std::string_view safetyCopy, std::uint64_t length,
                                  std::string_view targetFile, std::uint64_t targetLength);
std::string notAFile(std::string_view file, std::string_view leadsTo, FileKind kind);
std::string strangersLink(std::string_view link, std::string_view leadsTo, std::string_view owner);
std::string strangersFolderLink(std::string_view link, std::string_view leadsTo,
                                std::string_view owner);
// Something at a name that zarn writes a file under before it moves it into place (`forFile`).
std::string temporaryNameTaken(std::string_view name, FileKind kind, std::string_view owner,
                               std::string_view forFile);
std::string temporaryNameInTheWay(std::string_view name, FileKind kind, std::string_view forFile);
std::string slotFileTooLong(std::string_view slotFile, std::uint64_t limit);
std::string namesDifferOnlyInCase(std::string_view folder, std::string_view name,
                                  const std::vector<std::string>& matches);

} // namespace zarn::refusals
