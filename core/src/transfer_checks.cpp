#include "transfer_checks.h"

#include "file.h"
#include "file_names.h"
#include "refusals.h"
#include "zarn/editor_state.h"
#include "zarn/message_presenter.h"
#include "zarn/runtime_error.h"

namespace zarn {

std::string TransferFile::shown() const
{
    return displayPath(path);
}

TransferFile transferFile(const std::filesystem::path& folder, std::string_view name)
{
    const std::filesystem::path path = fileAnsweringTo(folder, name);
    return {path, followOwnLinks(path)};
}

std::optional<TransferFile> chosenExecutable(const EditorState& state,
                                             const std::filesystem::path& programFolder,
                                             MessagePresenter& presenter)
{
    if (!passesSelectionGate(state, presenter)) {
        return std::nullopt;
    }
    std::optional<TransferFile> executable;
    try {
        executable = transferFile(programFolder, executableName(*state.chosenGame));
    } catch (const NameClash& clash) {
        presenter.showMessage(clash.what());
        return std::nullopt;
    } catch (const StrangersLink& link) {
        presenter.showMessage(link.what());
        return std::nullopt;
    }
    if (!isPlainFile(executable->file)) {
        presenter.showMessage(refusals::executableMissing(executable->shown()));
        return std::nullopt;
    }
    return executable;
}

std::optional<std::uint64_t> slotRegionOffset(const EditorState& state,
                                              std::uint64_t executableLength,
                                              const std::filesystem::path& executablePath,
                                              MessagePresenter& presenter)
{
    if (!passesLengthGate(state, executableLength, presenter)) {
        return std::nullopt;
    }
    if (state.slotAddress < 1) {
        throw RuntimeError(
            refusals::addressBeforeStart(state.slotAddress, displayPath(executablePath)));
    }
    return static_cast<std::uint64_t>(state.slotAddress) - 1;
}

void refuseReadOnlyFile(const std::filesystem::path& path)
{
    if (isReadOnlyFile(path)) {
        throw RuntimeError(refusals::readOnlyFile(displayPath(path)));
    }
}

void refuseUnwritableFolder(const std::filesystem::path& folder)
{
    if (const std::optional<std::string> reason = whyFolderRefusesFiles(folder)) {
        throw RuntimeError(refusals::folderNotWritable(displayPath(folder), *reason));
    }
}

} // namespace zarn
