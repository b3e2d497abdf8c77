#include "transfer_checks.h"

#include "file.h"
#include "file_names.h"
#include "messages.h"
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
                                             MessagePresenter& messages)
{
    if (!passesSelectionGate(state, messages)) {
        return std::nullopt;
    }
    std::optional<TransferFile> executable;
    try {
        executable = transferFile(programFolder, state.TargetFile);
    } catch (const NameClash& clash) {
        messages.showMessage(clash.what());
        return std::nullopt;
    } catch (const StrangersLink& link) {
        messages.showMessage(link.what());
        return std::nullopt;
    }
    if (!isPlainFile(executable->file)) {
        messages.showMessage(messages::executableMissing(executable->shown()));
        return std::nullopt;
    }
    return executable;
}

std::optional<std::uint64_t> slotRegionOffset(EditorState& state, std::uint64_t executableLength,
                                              const std::filesystem::path& executablePath,
                                              MessagePresenter& messages)
{
    if (!passesLengthGate(state, executableLength, messages)) {
        return std::nullopt;
    }
    if (state.SlotAddress < 1) {
        throw RuntimeError(
            messages::addressBeforeStart(state.SlotAddress, displayPath(executablePath)));
    }
    return static_cast<std::uint64_t>(state.SlotAddress) - 1;
}

void refuseReadOnlyFile(const std::filesystem::path& path)
{
    if (isReadOnlyFile(path)) {
        throw RuntimeError(messages::readOnlyFile(displayPath(path)));
    }
}

void refuseUnwritableFolder(const std::filesystem::path& folder)
{
    if (const std::optional<std::string> reason = whyFolderRefusesFiles(folder)) {
        throw RuntimeError(messages::folderNotWritable(displayPath(folder), *reason));
    }
}

} // namespace zarn
