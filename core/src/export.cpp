#include "file.h"
#include "file_names.h"
#include "refusals.h"
#include "replacement_file.h"
#include "transfer_checks.h"
#include "zarn/editor_state.h"
#include "zarn/message_presenter.h"
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

// Writes the new slot file block by block and puts it in place, comparing each block with the
// old slot file as it goes: where their bytes differ, the old one is kept as "p_slots.txt.bak"
// first, replacing any copy of that name from before. The new file and the copy take the old
// file's permissions.
class SlotFileWriter
{
public:
    explicit SlotFileWriter(const TransferFile& slotFile)
        : m_slotFile(slotFile), m_old(openOld(slotFile)),
          m_new(inFolder(slotFile.file.parent_path(), [&] {
              return ReplacementFile(slotFile.file, slotFile.shown(), oldFile());
          }))
    {}

    void write(std::string_view block)
    {
        if (m_old && !m_differs) {
            m_buffer.resize(block.size());
            const std::size_t got = m_old->readAt(m_compared, m_buffer.data(), block.size());
            m_differs = got != block.size() || m_buffer != block;
            m_compared += got;
        }
        m_new.contents().write(block);
    }

    void finish()
    {
        if (m_old && (m_differs || m_old->size() != m_compared)) {
            keepBackup();
        }
        m_old.reset(); // Windows replaces no file that is still open.
        m_new.replaceTarget();
    }

private:
    // The slot file to be replaced, where there is one, after the checks that it may be.
    static std::optional<File> openOld(const TransferFile& slotFile)
    {
        refuseReadOnlyFile(slotFile.file);
        inFolder(slotFile.file.parent_path(),
                 [&] { checkWritableIfPresent(slotFile.file, slotFile.shown()); });
        if (kindAt(slotFile.file) == FileKind::Missing) {
            return std::nullopt;
        }
        return File::openForReading(slotFile.file, slotFile.shown());
    }

    const File* oldFile() const { return m_old ? &*m_old : nullptr; }

    void keepBackup() const
    {
        std::filesystem::path backupPath = m_slotFile.path;
        backupPath += ".bak";
        ReplacementFile backup = inFolder(backupPath.parent_path(), [&] {
            return ReplacementFile(backupPath, displayPath(backupPath), oldFile());
        });
        std::vector<char> block(writeBlock);
        std::uint64_t offset = 0;
        while (const std::size_t got = m_old->readAt(offset, block.data(), block.size())) {
            backup.contents().write({block.data(), got});
            offset += got;
        }
        backup.replaceTarget();
    }

    const TransferFile& m_slotFile;
    std::optional<File> m_old;
    ReplacementFile m_new;
    std::string m_buffer;
    std::uint64_t m_compared = 0;
    bool m_differs = false;
};

} // namespace

TransferEnd exportSlots(const EditorState& state, const std::filesystem::path& programFolder,
                        MessagePresenter& presenter)
{
    const std::optional<TransferFile> executablePath =
        chosenExecutable(state, programFolder, presenter);
    if (!executablePath) {
        return TransferEnd::StoppedEarly;
    }
    const std::string executableShown = executablePath->shown();
    const File executable = File::openForReading(executablePath->file, executableShown);
    const std::uint64_t length = executable.size();
    const std::optional<std::uint64_t> offset =
        slotRegionOffset(state, length, executablePath->path, presenter);
    if (!offset) {
        return TransferEnd::Failed;
    }

    const TransferFile slotFile = transferFile(programFolder, slotFileName);
    SlotFileWriter writer(slotFile);
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
                    presenter.showMessage(
                        refusals::listRunsOffEnd(executableShown, length, country, unitClass));
                    return TransferEnd::Failed;
                }
                appendEntryLine(lines, *entry);
            } while (*entry != listTerminator);
            if (lines.size() >= writeBlock) {
                writer.write(lines);
                lines.clear();
            }
        }
    }
    writer.write(lines);
    writer.finish();
    return TransferEnd::Succeeded;
}

} // namespace zarn
