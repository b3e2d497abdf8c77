#include "zarn/games_in_folder.h"

#include "file.h"
#include "file_names.h"

namespace zarn {

std::vector<Game> gamesIn(const std::filesystem::path& folder)
{
    std::vector<Game> games;
    for (const Game game : {Game::PanzerGeneral, Game::AlliedGeneral}) {
        try {
            if (isPlainFile(fileAnsweringTo(folder, executableName(game)))) {
                games.push_back(game);
            }
        } catch (const NameClash&) {
            games.push_back(game);
        }
    }
    return games;
}

} // namespace zarn
