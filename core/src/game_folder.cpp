#include "zarn/game_folder.h"

#include "file.h"
#include "zarn/games_in_folder.h"
#include "zarn/runtime_error.h"
#include "zarn/utf8_path.h"

#include <system_error>

namespace zarn {
namespace {

// The path without "." steps and empty ones, such as a closing separator leaves, which messages
// would show. ".." steps stay: where they follow a link, only the system knows where they lead.
std::filesystem::path tidied(const std::filesystem::path& path)
{
    std::filesystem::path tidy = path.root_path();
    for (const std::filesystem::path& step : path.relative_path()) {
        if (!step.empty() && step != ".") {
            tidy /= step;
        }
    }
    return tidy;
}

// Whether `folder` holds a game's executable. A folder that the transfers would refuse to open
// holds none here: the transfer says why.
bool holdsAGame(const std::filesystem::path& folder)
{
    try {
        return !gamesIn(folder).empty();
    } catch (const RuntimeError&) {
        return false;
    } catch (const InTheWay&) {
        return false;
    }
}

// The folder a start without a folder named works in.
std::filesystem::path unnamedGameFolder(const std::filesystem::path& defaultFolder)
{
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    if (!error && !holdsAGame(defaultFolder) && holdsAGame(current)) {
        return current;
    }
    return defaultFolder;
}

} // namespace

GameFolder gameFolderFor(const std::vector<std::filesystem::path>& named,
                         const std::filesystem::path& defaultFolder)
{
    if (named.empty()) {
        return {unnamedGameFolder(defaultFolder), {}};
    }
    if (named.size() > 1) {
        return {std::nullopt, MoreThanOneNamed{named.size()}};
    }
    std::error_code error;
    std::filesystem::path path = named.front();
    if (!path.empty()) {
        path = tidied(std::filesystem::absolute(path, error));
    }
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (path.empty() || status.type() == std::filesystem::file_type::not_found) {
        return {std::nullopt, FolderMissing{shownPath(path)}};
    }
    if (error) {
        return {std::nullopt, FolderUnreachable{shownPath(path), error.message(), faultOf(error)}};
    }
    return {std::filesystem::is_directory(status) ? path : path.parent_path(), {}};
}

} // namespace zarn
