#include "file.h"
#include "replacement_file.h"
#include "slot_file_contents.h"
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
        const std::int16_t entry = entryFromBytes(m_buffer.data() + m_next);
        m_next += 2;
        return entry;
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
// old slot file as it goes: where their bytes differ, the old one is kept as "p_slots.txt.bak",
// replacing any copy of that name from before, but only once the new slot file is in place. The
// new file and the copy take the old file's permissions, in the old file's folder.
class SlotFileWriter
{
public:
    explicit SlotFileWriter(const FoundFile& slotFile)
        : m_slotFile(slotFile), m_old(openOld(slotFile)), m_new(inFolder(*slotFile.folder, [&] {
              return ReplacementFile(*slotFile.folder, slotFile.name, slotFile.shown, oldFile());
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
        if (!m_old || (!m_differs && m_old->size() == m_compared)) {
            m_old.reset(); // Windows replaces no file that is still open.
            m_new.replaceTarget();
            return;
        }
        const Folder& folder = *m_slotFile.folder;
        const std::filesystem::path backupName = m_slotFile.nameWith(".bak");
        const FileKind present = folder.status(backupName).kind;
        if (present != FileKind::Missing && present != FileKind::Regular &&
            present != FileKind::Link) {
            throw InTheWay(
                BackupInTheWay{m_slotFile.shownBeside(backupName), present, m_slotFile.shownName});
        }
        ReplacementFile backup = inFolder(folder, [&] {
            return ReplacementFile(folder, backupName, m_slotFile.shownBeside(backupName),
                                   oldFile());
        });
        copyOld(backup.contents());
        m_old.reset();
        const bool oldBackupKept = backup.replaceTargetKeepingOld();
        try {
            m_new.replaceTarget();
        } catch (...) {
            backup.putOldBack(oldBackupKept);
            throw;
        }
        backup.dropOld();
    }

private:
    // The slot file to be replaced, where there is one, after the checks that it may be.
    static std::optional<File> openOld(const FoundFile& slotFile)
    {
        refuseAnyButAFile(slotFile);
        if (slotFile.status.kind == FileKind::Missing) {
            return std::nullopt;
        }
        if (slotFile.status.size > slotFileLimit) {
            throw InTheWay(SlotFileTooLong{slotFile.shown, slotFileLimit});
        }
        refuseReadOnlyFile(slotFile);
        inFolder(*slotFile.folder,
                 [&] { slotFile.folder->checkWritableIfPresent(slotFile.name, slotFile.shown); });
        return slotFile.folder->openForReading(slotFile.name, slotFile.shown);
    }

    const File* oldFile() const { return m_old ? &*m_old : nullptr; }

    // Copies the whole old slot file, up to the bound of any slot file.
    void copyOld(File& copy) const
    {
        std::vector<char> block(writeBlock);
        std::uint64_t offset = 0;
        while (const std::size_t got = m_old->readAt(offset, block.data(), block.size())) {
            copy.write({block.data(), got});
            offset += got;
            if (offset > slotFileLimit) {
                throw InTheWay(SlotFileTooLong{m_slotFile.shown, slotFileLimit});
            }
        }
    }

    const FoundFile& m_slotFile;
    std::optional<File> m_old;
    ReplacementFile m_new;
    std::string m_buffer;
    std::uint64_t m_compared = 0;
    bool m_differs = false;
};

TransferOutcome exportFrom(const EditorState& state, const std::filesystem::path& gameFolder,
                           MessagePresenter& presenter)
{
    const auto folder = std::make_shared<const Folder>(Folder::open(gameFolder));
    const std::optional<FoundFile> executableFile = chosenExecutable(state, folder, presenter);
    if (!executableFile) {
        return {TransferEnd::StoppedEarly, {}, {}};
    }
    const std::string& executableShown = executableFile->shown;
    const File executable =
        executableFile->folder->openForReading(executableFile->name, executableShown);
    const std::uint64_t length = executable.size();
    const std::optional<std::uint64_t> offset =
        slotRegionOffset(state, length, executableShown, presenter);
    if (!offset) {
        return {TransferEnd::Failed, {}, {}};
    }

    const FoundFile slotFile = findFile(folder, slotFileName);
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
                    presenter.showRefusal(
                        ListRunsOffEnd{executableShown, length, country, unitClass});
                    return {TransferEnd::Failed, {}, {}};
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
    return {TransferEnd::Succeeded, executableFile->shownName, slotFile.shownName};
}

} // namespace

TransferOutcome exportSlots(const EditorState& state, const std::filesystem::path& gameFolder,
                            MessagePresenter& presenter)
{
    return afterTheSelectionGate(state, presenter,
                                 [&] { return exportFrom(state, gameFolder, presenter); });
}

} // namespace zarn
