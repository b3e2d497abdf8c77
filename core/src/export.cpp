#include "file.h"
#include "file_names.h"
#include "messages.h"
#include "replacement_file.h"
#include "transfer_checks.h"
#include "zarn/editor_state.h"
#include "zarn/message_presenter.h"
#include "zarn/runtime_error.h"
#include "zarn/slot_file.h"
#include "zarn/slot_table.h"
#include "zarn/transfer.h"

#include <array>
#include <optional>

namespace zarn {
namespace {

// Reads consecutive slot entries of an executable, from a byte offset on.
class EntryReader
{
public:
    EntryReader(const File& file, std::uint64_t offset) : m_file(file), m_offset(offset) {}

    // The next entry, or nothing where the file ends before its second byte.
    std::optional<std::int16_t> next()
    {
        if (m_end - m_next < 2) {
            m_offset += m_next;
            m_end = m_file.readAt(m_offset, m_buffer.data(), m_buffer.size());
            m_next = 0;
            if (m_end < 2) {
                return std::nullopt;
            }
        }
        const auto low = static_cast<unsigned char>(m_buffer[m_next]);
        const auto high = static_cast<unsigned char>(m_buffer[m_next + 1]);
        m_next += 2;
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(low | high << 8));
    }

private:
    const File& m_file;
    std::uint64_t m_offset;
    std::array<char, 64 * 1024> m_buffer{};
    std::size_t m_next = 0;
    std::size_t m_end = 0;
};

// Lines are handed to the file in blocks of about this size.
constexpr std::size_t writeBlock = 64 * 1024;

} // namespace

TransferEnd exportSlots(EditorState& state, const std::filesystem::path& programFolder,
                        MessagePresenter& messages)
{
    const std::optional<std::filesystem::path> executablePath =
        chosenExecutable(state, programFolder, messages);
    if (!executablePath) {
        return TransferEnd::StoppedEarly;
    }
    const std::string executableName = fileNameOf(*executablePath);
    const File executable = File::openForReading(*executablePath, executableName);
    const std::uint64_t length = executable.size();
    const std::optional<std::uint64_t> offset = slotRegionOffset(state, length, messages);
    if (!offset) {
        return TransferEnd::Failed;
    }

    const std::filesystem::path slotPath = fileAnsweringTo(programFolder, slotFileName);
    checkWritableIfPresent(slotPath, fileNameOf(slotPath));
    ReplacementFile slotFile(slotPath, fileNameOf(slotPath));
    EntryReader entries(executable, *offset);
    std::string lines;
    for (int country = 1; country <= countryCount; ++country) {
        appendNameLine(lines, countryNames[country]);
        for (int unitClass = 1; unitClass <= unitClassCount; ++unitClass) {
            appendNameLine(lines, unitClassNames[unitClass]);
            std::optional<std::int16_t> entry;
            do {
                entry = entries.next();
                if (!entry) {
                    throw RuntimeError(
                        messages::listRunsOffEnd(executableName, length, country, unitClass));
                }
                appendEntryLine(lines, *entry);
            } while (*entry != listTerminator);
            if (lines.size() >= writeBlock) {
                slotFile.contents().write(lines);
                lines.clear();
            }
        }
    }
    slotFile.contents().write(lines);
    slotFile.replaceTarget();
    return TransferEnd::Succeeded;
}

} // namespace zarn
