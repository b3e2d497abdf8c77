#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Every text that the core shows or reports, in one place.
namespace zarn::messages {

std::string selectGame();
std::string wrongLength();
std::string wrongAddress();
std::string executableMissing(std::string_view targetPath);
std::string wrongCount(int count);
std::string extraEntries(std::size_t count, std::size_t firstLine, std::string_view targetFile);
std::string entryOutOfRange(double entry, std::size_t line, std::string_view targetFile);
std::string regionPastEnd(std::int32_t slotAddress, std::uint64_t length,
                          std::string_view targetFile);

// Run-time error texts.
std::string fileFailed(std::string_view file, std::string_view action, std::string_view reason);
std::string slotFileTooShort(std::string_view slotFile, std::size_t items);
std::string addressBeforeStart(std::int32_t slotAddress, std::string_view targetFile);
std::string listRunsOffEnd(std::string_view targetFile, std::uint64_t length, int country,
                           int unitClass);
std::string safetyCopyFailed(std::string_view targetFile, std::string_view reason);
std::string safetyCopyInTheWay(std::string_view targetFile);
std::string namesDifferOnlyInCase(std::string_view folder, std::string_view name,
                                  const std::vector<std::string>& matches);
std::string pathTooLong(std::string_view reason, std::string_view path, std::size_t length);
std::string replacementStoppedHalfWay(std::string_view file, std::string_view target,
                                      std::string_view oldContents, std::string_view newContents,
                                      std::string_view reason);

} // namespace zarn::messages
