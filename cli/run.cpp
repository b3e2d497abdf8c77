#include "run.h"

#include "arguments.h"
#include "console.h"
#include "texts.h"
#include "zarn/games_in_folder.h"
#include "zarn/runtime_error.h"
#include "zarn/slot_file_check.h"
#include "zarn/transfer.h"
#include "zarn/utf8_path.h"

#include <exception>
#include <filesystem>
#include <system_error>

namespace zarn::cli {
namespace {

// The folder given, or the current one, in full, without a last "." or separator.
std::filesystem::path programFolder(const std::optional<std::filesystem::path>& given)
{
    std::filesystem::path folder = std::filesystem::absolute(given.value_or("."));
    while (folder.has_relative_path() && (folder.filename() == "." || folder.filename().empty())) {
        folder = folder.parent_path();
    }
    return folder;
}

// Why `folder` cannot be the game's folder, if it cannot.
std::optional<std::string> folderRefusal(const std::filesystem::path& folder)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(folder, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return texts::folderMissing(displayPath(folder));
    }
    if (error) {
        return texts::folderUnreachable(displayPath(folder), error.message());
    }
    if (!std::filesystem::is_directory(status)) {
        return texts::notAFolder(displayPath(folder));
    }
    return std::nullopt;
}

// The game asked for, or else the one whose executable the folder holds, if just one does.
// @throw UsageError where the folder holds both and no game was asked for.
std::optional<Game> chosenGame(const Invocation& invocation, const std::filesystem::path& folder)
{
    if (invocation.game) {
        return invocation.game;
    }
    const std::vector<Game> games = gamesIn(folder);
    if (games.size() > 1) {
        throw UsageError(texts::bothGames(displayPath(folder)));
    }
    return games.empty() ? std::nullopt : std::optional<Game>(games.front());
}

ExitStatus check(const Invocation& invocation)
{
    const std::filesystem::path file =
        std::filesystem::absolute(invocation.operand.value_or(slotFileName));
    if (const std::optional<std::string> refusal = checkSlotFile(file)) {
        ErrorStreamPresenter().showMessage(*refusal);
        return ExitStatus::Refused;
    }
    writeOut(texts::wholeTable(displayPath(file)));
    return ExitStatus::Done;
}

ExitStatus diff(const EditorState& state, const std::filesystem::path& folder)
{
    ErrorStreamPresenter messages;
    const std::optional<std::vector<ListChange>> changes = previewImport(state, folder, messages);
    if (!changes) {
        return ExitStatus::Refused;
    }
    for (const ListChange& change : *changes) {
        writeOut(texts::changeLine(change));
    }
    writeOut(texts::changeSummary(*changes));
    return ExitStatus::Done;
}

// Export, import or diff, on the folder and the game that the command line gives.
ExitStatus transfer(const Invocation& invocation)
{
    const std::filesystem::path folder = programFolder(invocation.operand);
    if (const std::optional<std::string> refusal = folderRefusal(folder)) {
        writeError(*refusal);
        return ExitStatus::Refused;
    }
    EditorState state;
    state.slotAddress = invocation.slotAddress.value_or(defaultSlotAddress);
    state.chosenGame = chosenGame(invocation, folder);
    if (invocation.command == Command::Diff) {
        return diff(state, folder);
    }
    ErrorStreamPresenter messages;
    if (invocation.command == Command::Export) {
        const TransferOutcome exported = exportSlots(state, folder, messages);
        if (exported.end != TransferEnd::Succeeded) {
            return ExitStatus::Refused;
        }
        writeOut(texts::exported(exported.executable, exported.slotFile));
        return ExitStatus::Done;
    }
    const TransferOutcome imported = importSlots(state, folder, messages);
    if (imported.end != TransferEnd::Succeeded) {
        return ExitStatus::Refused;
    }
    writeOut(texts::imported(imported.slotFile, imported.executable));
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

} // namespace

ExitStatus run(const std::vector<std::string>& arguments)
{
    ExitStatus status = ExitStatus::Done;
    try {
        status = runCommand(parseArguments(arguments));
    } catch (const UsageError& error) {
        writeError(error.what());
        return ExitStatus::Usage;
    } catch (const InTheWay& refusal) {
        // The game folder, opened to find the game, is no folder that the transfers would use.
        ErrorStreamPresenter().showMessage(refusal.what());
        return ExitStatus::Refused;
    } catch (const std::exception& error) {
        // Run-time errors of the core, and anything else that went wrong on the way.
        writeError(texts::runTimeError(withLineFeeds(error.what())));
        return ExitStatus::RunTimeError;
    }
    if (!outputComplete()) {
        writeError(texts::outputLost());
        return ExitStatus::RunTimeError;
    }
    return status;
}

} // namespace zarn::cli
