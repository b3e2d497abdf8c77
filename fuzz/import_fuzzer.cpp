// An arbitrary slot file imported into a synthetic pg.exe either writes exactly the 1292 bytes
// that the file's first 646 entries stand for at the slot address and nothing else, where they
// form the 180 lists, or leaves every file byte for byte as it was.
#include "fuzz_support.h"
#include "recording_presenter.h"
#include "synthetic_game.h"
#include "zarn/editor_state.h"
#include "zarn/runtime_error.h"
#include "zarn/slot_file.h"
#include "zarn/slot_table.h"
#include "zarn/transfer.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

using zarn::fuzz::require;

namespace {

enum class Outcome
{
    RuntimeError,
    Refused,
    Written,
};

struct Expected
{
    Outcome outcome;
    std::string region; // when written
};

// What the import must do with the input, worked out from the items of the slot file.
Expected expectedImport(const zarn::fuzz::ImportInput& input)
{
    if (input.slotAddress < 1) {
        return {Outcome::RuntimeError, {}};
    }
    if (static_cast<std::size_t>(input.slotAddress) - 1 + zarn::regionBytes >
        input.executableLength) {
        return {Outcome::Refused, {}};
    }
    std::istringstream file(input.slotFile);
    zarn::SlotItemReader reader(file);
    int entries = 0;
    bool allFit = true;
    int terminators = 0;
    bool endsWithTerminator = false;
    std::string region;
    for (int read = 0; read < zarn::tableItemCount; ++read) {
        const auto item = reader.next();
        if (!item) {
            return {Outcome::RuntimeError, {}};
        }
        if (item->value == 0 || ++entries > zarn::requiredEntryCount) {
            continue;
        }
        const double entry = std::floor(item->value);
        terminators += entry == -1;
        endsWithTerminator = entry == -1;
        if (entry < -32768 || entry > 32767) {
            allFit = false;
            continue;
        }
        const auto bits = static_cast<std::uint16_t>(static_cast<std::int16_t>(entry));
        region += static_cast<char>(bits & 0xFF);
        region += static_cast<char>(bits >> 8);
    }
    bool extra = false;
    while (const auto item = reader.next()) {
        extra = extra || item->value != 0;
    }
    // The 646 entries form the 180 lists exactly when 180 of them are -1, the last among them.
    const bool formsLists = terminators == 180 && endsWithTerminator;
    if (entries != zarn::requiredEntryCount || extra || !allFit || !formsLists) {
        return {Outcome::Refused, {}};
    }
    return {Outcome::Written, region};
}

const zarn::fuzz::ProgramFolder folder;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const zarn::fuzz::ImportInput input =
        zarn::fuzz::parseImportInput({reinterpret_cast<const char*>(data), size});
    const std::string executable = zarn::testing::filler(input.executableLength);
    // A copy that an earlier import kept: the user's own, of the executable's length, and so
    // taken for the safety copy.
    const std::string oldSafetyCopy(executable.size(), 'o');
    folder.clear();
    folder.write("pg.exe", executable);
    folder.write("p_slots.txt", input.slotFile);
    if (input.safetyCopyExists) {
        folder.write("pg.exe.orig", oldSafetyCopy);
    }

    zarn::EditorState state;
    state.chosenGame = zarn::Game::PanzerGeneral;
    state.slotAddress = input.slotAddress;
    zarn::testing::RecordingPresenter messages;
    std::optional<zarn::TransferEnd> end;
    std::string error;
    try {
        end = zarn::importSlots(state, folder.path(), messages).end;
    } catch (const zarn::RuntimeError& failure) {
        error = failure.what();
    }

    const Expected expected = expectedImport(input);
    const std::string after = folder.read("pg.exe");
    require(folder.read("p_slots.txt") == input.slotFile, "the slot file is never changed");
    std::vector<std::string> names = {"p_slots.txt", "pg.exe"};
    switch (expected.outcome) {
    case Outcome::RuntimeError:
        require(!end && !error.empty(), "a run-time error is reported");
        require(after == executable, "a failed import leaves pg.exe as it was");
        break;
    case Outcome::Refused:
        require(end == zarn::TransferEnd::Failed && messages.refusals.size() == 1,
                "a refusal is told in one message");
        require(after == executable, "a refused import leaves pg.exe as it was");
        break;
    case Outcome::Written: {
        require(end == zarn::TransferEnd::Succeeded && messages.refusals.empty(),
                "a valid slot file is imported without a word");
        std::string patched = executable;
        const auto offset = static_cast<std::size_t>(input.slotAddress) - 1;
        patched.replace(offset, expected.region.size(), expected.region);
        require(after == patched, "exactly the 1292 validated bytes are written");
        if (!input.safetyCopyExists && patched != executable) {
            require(folder.read("pg.exe.orig") == executable, "the safety copy is the original");
            names.push_back("pg.exe.orig");
        }
        break;
    }
    }
    if (input.safetyCopyExists) {
        require(folder.read("pg.exe.orig") == oldSafetyCopy, "a safety copy is never replaced");
        names.push_back("pg.exe.orig");
    }
    require(folder.names() == names, "no other file is left in the folder");
    return 0;
}
