#include "zarn/games_in_folder.h"

#include "file.h"
#include "file_names.h"

namespace zarn {

std::vector<Game> gamesIn(const std::filesystem::path& folder)
{
    const Folder opened = Folder::open(folder);
    std::vector<Game> games;
    for (const Game game : {Game::PanzerGeneral, Game::AlliedGeneral}) {
        try {
            const FileStatus status = opened.status(nameAnsweringTo(opened, executableName(game)));
            if (status.kind != FileKind::Missing && status.kind != FileKind::Folder &&
                !status.unlisted) {
                games.push_back(game);
            }
        } catch (const InTheWay& clash) {
            if (!std::holds_alternative<NamesDifferOnlyInCase>(clash.refusal())) {
                throw;
            }
            games.push_back(game);
        }
    }
    return games;
}

} // namespace zarn
