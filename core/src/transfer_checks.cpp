#include "transfer_checks.h"

#include "file_names.h"
#include "zarn/editor_state.h"
#include "zarn/message_presenter.h"
#include "zarn/runtime_error.h"
#include "zarn/utf8_path.h"

#include <system_error>

namespace zarn {

std::filesystem::path FoundFile::nameWith(const char* suffix) const
{
    std::filesystem::path withSuffix = name;
    withSuffix += suffix;
    return withSuffix;
}

FoundFile findFile(const std::shared_ptr<const Folder>& gameFolder, std::string_view name)
{
    // As many links as the system itself follows in one path.
    constexpr int mostLinks = 40;
    FoundFile file;
    file.folder = gameFolder;
    file.name = nameAnsweringTo(*gameFolder, name);
    file.shown = gameFolder->shown(file.name);
    file.shownName = shownPath(file.name);
    for (int followed = 0;; ++followed) {
        file.status = file.folder->status(file.name);
        if (file.status.kind != FileKind::Link) {
            return file;
        }
        const std::filesystem::path target = file.status.linkTarget;
        if (file.status.stranger) {
            throw InTheWay(
                StrangersLink{file.shownFile(), shownPath(target), *file.status.stranger});
        }
        if (followed == mostLinks) {
            const std::error_code loop =
                std::make_error_code(std::errc::too_many_symbolic_link_levels);
            throw RuntimeError(
                FileFailed{file.shown, FileAction::Opened, loop.message(), faultOf(loop), {}});
        }
        if (target.has_parent_path()) {
            file.folder =
                std::make_shared<const Folder>(file.folder->openFrom(target.parent_path()));
        }
        file.name = target.filename();
    }
}

void refuseAnyButAFile(const FoundFile& file)
{
    if (file.status.kind != FileKind::Regular && file.status.kind != FileKind::Missing) {
        throw InTheWay(NotAFile{file.shown, file.shownFile(), file.status.kind});
    }
}

std::optional<FoundFile> chosenExecutable(const EditorState& state,
                                          const std::shared_ptr<const Folder>& gameFolder,
                                          MessagePresenter& presenter)
{
    FoundFile executable = findFile(gameFolder, executableName(*state.chosenGame));
    // On Windows a file that listings do not show counts as missing, as the game's own folder
    // window would not show it either.
    if (executable.status.kind == FileKind::Missing || executable.status.unlisted) {
        presenter.showRefusal(ExecutableMissing{executable.shown});
        return std::nullopt;
    }
    refuseAnyButAFile(executable);
    return executable;
}

std::optional<std::uint64_t> slotRegionOffset(const EditorState& state,
                                              std::uint64_t executableLength,
                                              std::string_view executable,
                                              MessagePresenter& presenter)
{
    if (!trustsSlotRegion(state, executableLength, presenter)) {
        return std::nullopt;
    }
    if (state.slotAddress < 1) {
        throw RuntimeError(AddressBeforeStart{state.slotAddress, std::string(executable)});
    }
    return static_cast<std::uint64_t>(state.slotAddress) - 1;
}

void refuseReadOnlyFile(const FoundFile& file)
{
    if (file.folder->isReadOnlyFile(file.name)) {
        throw RuntimeError(ReadOnlyFile{file.shownFile()});
    }
}

} // namespace zarn
