#include "run.h"

#include "arguments.h"
#include "console.h"
#include "texts.h"
#include "zarn/game_folder.h"
#include "zarn/games_in_folder.h"
#include "zarn/runtime_error.h"
#include "zarn/slot_file_check.h"
#include "zarn/transfer.h"
#include "zarn/utf8_path.h"

#include <exception>
#include <filesystem>

namespace zarn::cli {
namespace {

// The game asked for, or else the one whose executable the folder holds, if just one does.
// @throw UsageError where the folder holds both and no game was asked for.
std::optional<Game> chosenGame(const Invocation& invocation, const std::filesystem::path& folder)
{
    if (invocation.game) {
        return invocation.game;
    }
    const std::vector<Game> games = gamesIn(folder);
    if (games.size() > 1) {
        throw UsageError(texts::bothGames(utf8FromPath(folder)));
    }
    return games.empty() ? std::nullopt : std::optional<Game>(games.front());
}

void writeUnclearEntries(const std::vector<UnclearEntry>& entries)
{
    for (const UnclearEntry& entry : entries) {
        writeOut(texts::unclearEntry(entry));
    }
}

ExitStatus check(const Invocation& invocation)
{
    const std::filesystem::path file =
        std::filesystem::absolute(invocation.operand.value_or(slotFileName));
    const SlotFileReading found = checkSlotFile(file);
    writeUnclearEntries(found.unclearEntries);
    if (found.refusal) {
        ErrorStreamPresenter().showRefusal(*found.refusal);
        return exitStatusOf(*found.refusal);
    }
    if (invocation.strict && !found.unclearEntries.empty()) {
        writeError(texts::unclearEntriesRefused(utf8FromPath(file), found.unclearEntries.size()));
        return ExitStatus::Refused;
    }
    writeOut(texts::wholeTable(utf8FromPath(file)));
    return ExitStatus::Done;
}

ExitStatus diff(const EditorState& state, const std::filesystem::path& folder)
{
    ErrorStreamPresenter messages;
    const std::optional<ImportPreview> preview = previewImport(state, folder, messages);
    if (!preview) {
        return ExitStatus::Refused;
    }
    writeUnclearEntries(preview->unclearEntries);
    for (const ListChange& change : preview->changes) {
        writeOut(texts::changeLine(change));
    }
    writeOut(texts::changeSummary(preview->changes));
    return ExitStatus::Done;
}

// Export, import or diff, on the folder and the game that the command line gives.
ExitStatus transfer(const Invocation& invocation)
{
    std::vector<std::filesystem::path> named;
    if (invocation.operand) {
        named.push_back(*invocation.operand);
    }
    const GameFolder gameFolder = gameFolderFor(named, std::filesystem::current_path());
    ErrorStreamPresenter messages;
    if (gameFolder.refusal) {
        messages.showRefusal(*gameFolder.refusal);
        return exitStatusOf(*gameFolder.refusal);
    }
    const std::filesystem::path& folder = *gameFolder.folder;
    EditorState state;
    state.slotAddress = invocation.slotAddress.value_or(defaultSlotAddress);
    state.chosenGame = chosenGame(invocation, folder);
    if (!state.chosenGame) {
        writeError(texts::noGameIn(utf8FromPath(folder)));
        return ExitStatus::Refused;
    }
    if (invocation.command == Command::Diff) {
        return diff(state, folder);
    }
    if (invocation.command == Command::Export) {
        const TransferOutcome exported = exportSlots(state, folder, messages);
        if (exported.end != TransferEnd::Succeeded) {
            return ExitStatus::Refused;
        }
        writeError(texts::exported(exported.executable, exported.slotFile));
        return ExitStatus::Done;
    }
    const TransferOutcome imported = importSlots(state, folder, messages);
    if (imported.end != TransferEnd::Succeeded) {
        return ExitStatus::Refused;
    }
    writeError(texts::imported(imported.slotFile, imported.executable));
    return ExitStatus::Done;
}

ExitStatus runCommand(const Invocation& invocation)
{
    switch (invocation.command) {
    case Command::Help:
        writeOut(std::string(texts::usage) + "\n" + texts::help);
        return ExitStatus::Done;
    case Command::Version:
        writeOut(texts::version());
        return ExitStatus::Done;
    case Command::Check:
        return check(invocation);
    case Command::Export:
    case Command::Import:
    case Command::Diff:
        break;
    }
    return transfer(invocation);
}

ExitStatus statusFor(FaultOf faultOf)
{
    return faultOf == FaultOf::Folder ? ExitStatus::Refused : ExitStatus::SystemFailed;
}

// The exit status of each kind of run-time error.
ExitStatus statusFor(const FileFailed& failure)
{
    return statusFor(failure.faultOf);
}

ExitStatus statusFor(const SlotFileTooShort&)
{
    return ExitStatus::Refused;
}

ExitStatus statusFor(const AddressBeforeStart&)
{
    return ExitStatus::Refused;
}

// A read-only file, a folder that takes no files, a replacement that stopped half way.
ExitStatus statusFor(const auto&)
{
    return ExitStatus::SystemFailed;
}

ExitStatus statusFor(const SafetyCopyFailed& failure)
{
    return std::visit([](const auto& why) { return statusFor(why); }, failure.why);
}

} // namespace

ExitStatus exitStatusOf(const Refusal& refusal)
{
    if (const auto* unreachable = std::get_if<FolderUnreachable>(&refusal)) {
        return statusFor(unreachable->faultOf);
    }
    return ExitStatus::Refused;
}

ExitStatus exitStatusOf(const Failure& failure)
{
    return std::visit([](const auto& kind) { return statusFor(kind); }, failure);
}

ExitStatus run(const std::vector<std::string>& arguments)
{
    ExitStatus status = ExitStatus::Done;
    try {
        status = runCommand(parseArguments(arguments));
    } catch (const UsageError& error) {
        writeError(error.what());
        return ExitStatus::Usage;
    } catch (const InTheWay& inTheWay) {
        // The game folder, opened to find the game, is no folder that the transfers would use.
        ErrorStreamPresenter().showRefusal(inTheWay.refusal());
        return exitStatusOf(inTheWay.refusal());
    } catch (const RuntimeError& error) {
        status = exitStatusOf(error.failure());
        writeError(status == ExitStatus::SystemFailed ? texts::runTimeError(error.what())
                                                      : texts::asLines(error.what()));
        return status;
    } catch (const std::exception& error) {
        // Anything else that went wrong on the way, such as memory running out.
        writeError(texts::runTimeError(error.what()));
        return ExitStatus::SystemFailed;
    }
    if (!outputComplete()) {
        writeError(texts::outputLost());
        return ExitStatus::SystemFailed;
    }
    return status;
}

} // namespace zarn::cli
