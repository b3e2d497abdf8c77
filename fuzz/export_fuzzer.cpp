// An arbitrary pg.exe exported at an arbitrary address either gives the slot file that its lists
// stand for, which imports back without changing a byte, or leaves the old slot file as it was.
#include "fuzz_support.h"
#include "recording_presenter.h"
#include "zarn/editor_state.h"
#include "zarn/runtime_error.h"
#include "zarn/slot_table.h"
#include "zarn/transfer.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using zarn::fuzz::require;

namespace {

struct Expected
{
    bool written = false;
    std::string slotFile;
    int entryCount = 0;
    bool hasZeroEntry = false;
};

void appendLine(std::string& text, std::string_view line)
{
    text += line;
    text += "\r\n";
}

// The slot file that the lists from the address on stand for, if they all end inside the file.
Expected expectedExport(const zarn::fuzz::ExportInput& input)
{
    Expected expected;
    if (input.slotAddress < 1) {
        return expected;
    }
    const std::string& bytes = input.executable;
    std::size_t at = static_cast<std::size_t>(input.slotAddress) - 1;
    for (int country = 1; country <= zarn::countryCount; ++country) {
        appendLine(expected.slotFile, '"' + std::string(zarn::countryNames[country]) + '"');
        for (int unitClass = 1; unitClass <= zarn::unitClassCount; ++unitClass) {
            appendLine(expected.slotFile, '"' + std::string(zarn::unitClassNames[unitClass]) + '"');
            int entry = 0;
            do {
                if (at + 2 > bytes.size()) {
                    return expected;
                }
                const auto low = static_cast<unsigned char>(bytes[at]);
                const auto high = static_cast<unsigned char>(bytes[at + 1]);
                entry = static_cast<std::int16_t>(static_cast<std::uint16_t>(low | high << 8));
                appendLine(expected.slotFile, std::to_string(entry));
                at += 2;
                ++expected.entryCount;
                expected.hasZeroEntry = expected.hasZeroEntry || entry == 0;
            } while (entry != -1);
        }
    }
    expected.written = true;
    return expected;
}

const zarn::fuzz::ProgramFolder folder;

const std::string oldSlotFile = "\"my own list\"\r\n7\r\n";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const zarn::fuzz::ExportInput input =
        zarn::fuzz::parseExportInput({reinterpret_cast<const char*>(data), size});
    folder.clear();
    folder.write("pg.exe", input.executable);
    if (input.oldSlotFileExists) {
        folder.write("p_slots.txt", oldSlotFile);
    }

    zarn::EditorState state;
    state.chosenGame = zarn::Game::PanzerGeneral;
    state.slotAddress = input.slotAddress;
    zarn::testing::RecordingPresenter messages;
    std::optional<zarn::TransferEnd> end;
    try {
        end = zarn::exportSlots(state, folder.path(), messages).end;
    } catch (const zarn::RuntimeError& failure) {
        require(*failure.what() != '\0', "a run-time error says what went wrong");
    }

    const Expected expected = expectedExport(input);
    require(folder.read("pg.exe") == input.executable, "the export never changes pg.exe");
    if (!expected.written) {
        if (input.slotAddress < 1) {
            require(!end && messages.refusals.empty(),
                    "an address before the file is a run-time error");
        } else {
            require(end == zarn::TransferEnd::Failed && messages.refusals.size() == 1,
                    "a table that runs off the file is refused in one message");
        }
        const std::vector<std::string> names =
            input.oldSlotFileExists ? std::vector<std::string>{"p_slots.txt", "pg.exe"}
                                    : std::vector<std::string>{"pg.exe"};
        require(folder.names() == names, "no new file is left in the folder");
        require(!input.oldSlotFileExists || folder.read("p_slots.txt") == oldSlotFile,
                "a failed export leaves the old slot file as it was");
        return 0;
    }
    require(end == zarn::TransferEnd::Succeeded && messages.refusals.empty(),
            "pg.exe passes the gate without a word and its table is exported");
    require(folder.read("p_slots.txt") == expected.slotFile, "the slot file holds the table");
    std::vector<std::string> names = {"p_slots.txt", "pg.exe"};
    if (input.oldSlotFileExists) {
        require(folder.read("p_slots.txt.bak") == oldSlotFile, "the old slot file is kept");
        names.insert(names.begin() + 1, "p_slots.txt.bak");
    }
    require(folder.names() == names, "no other file is left in the folder");

    // The new slot file imports back: an unchanged table when it holds 646 entries, none of them
    // 0 (which the import skips); otherwise a refusal, or a run-time error when pg.exe has room
    // for the table but the file has fewer than the 841 items that the import reads. Either way
    // pg.exe stays byte for byte as it was.
    zarn::testing::RecordingPresenter importMessages;
    std::optional<zarn::TransferEnd> importEnd;
    try {
        importEnd = zarn::importSlots(state, folder.path(), importMessages).end;
    } catch (const zarn::RuntimeError&) {
    }
    const int items = zarn::countryCount + zarn::listCount + expected.entryCount;
    const bool roomForTable = static_cast<std::size_t>(input.slotAddress) - 1 + zarn::regionBytes <=
                              input.executable.size();
    if (roomForTable && items < zarn::tableItemCount) {
        require(!importEnd, "a slot file of too few items is a run-time error");
    } else if (expected.entryCount == zarn::requiredEntryCount && !expected.hasZeroEntry) {
        require(importEnd == zarn::TransferEnd::Succeeded, "a full table imports back");
    } else {
        require(importEnd == zarn::TransferEnd::Failed, "any other table is refused");
    }
    require(folder.read("pg.exe") == input.executable, "importing the export changes nothing");
    require(folder.names() == names, "importing the export makes no safety copy");
    return 0;
}
