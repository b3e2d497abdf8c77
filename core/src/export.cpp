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
#include <string_view>
#include <vector>

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

// Compares the new slot file, block by block as it is written, with the one it replaces.
class OldSlotFile
{
public:
    // Opens the slot file at `path` where there is one.
    explicit OldSlotFile(const std::filesystem::path& path) : m_path(path)
    {
        if (isPlainFile(path)) {
            m_file.emplace(File::openForReading(path, displayPath(path)));
        }
    }

    // Takes the next block of the new file.
    void compare(std::string_view block)
    {
        if (!m_file || m_differs) {
            return;
        }
        m_buffer.resize(block.size());
        const std::size_t got = m_file->readAt(m_compared, m_buffer.data(), block.size());
        m_differs = got != block.size() || m_buffer != block;
        m_compared += got;
    }

    // Keeps the old slot file as "p_slots.txt.bak" where its bytes differ from the new one's,
    // whose blocks have all been compared, and then closes it, so that it can be replaced. A copy
    // of that name from before is replaced.
    void keepIfDifferent()
    {
        if (m_file && (m_differs || m_file->size() != m_compared)) {
            keepBackup();
        }
        m_file.reset();
    }

private:
    void keepBackup() const
    {
        std::filesystem::path backupPath = m_path;
        backupPath += ".bak";
        ReplacementFile backup = inFolder(backupPath.parent_path(), [&] {
            return ReplacementFile(backupPath, displayPath(backupPath));
        });
        std::vector<char> block(writeBlock);
        std::uint64_t offset = 0;
        while (const std::size_t got = m_file->readAt(offset, block.data(), block.size())) {
            backup.contents().write({block.data(), got});
            offset += got;
        }
        backup.replaceTarget();
    }

    std::filesystem::path m_path;
    std::optional<File> m_file;
    std::string m_buffer;
    std::uint64_t m_compared = 0;
    bool m_differs = false;
};

} // namespace

TransferEnd exportSlots(EditorState& state, const std::filesystem::path& programFolder,
                        MessagePresenter& messages)
{
    const std::optional<std::filesystem::path> executablePath =
        chosenExecutable(state, programFolder, messages);
    if (!executablePath) {
        return TransferEnd::StoppedEarly;
    }
    const std::string executableShown = displayPath(*executablePath);
    const File executable = File::openForReading(*executablePath, executableShown);
    const std::uint64_t length = executable.size();
    const std::optional<std::uint64_t> offset =
        slotRegionOffset(state, length, *executablePath, messages);
    if (!offset) {
        return TransferEnd::Failed;
    }

    const std::filesystem::path slotPath = fileAnsweringTo(programFolder, slotFileName);
    const std::string slotShown = displayPath(slotPath);
    refuseReadOnlyFile(slotPath);
    inFolder(programFolder, [&] { checkWritableIfPresent(slotPath, slotShown); });
    OldSlotFile oldSlotFile(slotPath);
    ReplacementFile slotFile =
        inFolder(programFolder, [&] { return ReplacementFile(slotPath, slotShown); });
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
                        messages::listRunsOffEnd(executableShown, length, country, unitClass));
                }
                appendEntryLine(lines, *entry);
            } while (*entry != listTerminator);
            if (lines.size() >= writeBlock) {
                oldSlotFile.compare(lines);
                slotFile.contents().write(lines);
                lines.clear();
            }
        }
    }
    oldSlotFile.compare(lines);
    slotFile.contents().write(lines);
    oldSlotFile.keepIfDifferent();
    slotFile.replaceTarget();
    return TransferEnd::Succeeded;
}

} // namespace zarn
