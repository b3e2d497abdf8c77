#include "zarn/game_folder.h"

#include "zarn/games_in_folder.h"
#include "zarn/runtime_error.h"
#include "zarn/utf8_path.h"

#include <system_error>

namespace zarn {
namespace {

constexpr char startOnTheGameFolder[] =
    "Start zarn on the folder that holds the game's ag.exe or pg.exe.";

std::string folderMissing(std::string_view folder)
{
    return "The folder " + shownText(folder) + " does not exist.\r" + startOnTheGameFolder;
}

std::string folderUnreachable(std::string_view folder, std::string_view reason)
{
    return "The folder " + shownText(folder) + " cannot be opened: " + std::string(reason) + "\r" +
           startOnTheGameFolder;
}

std::string moreThanOneNamed(std::size_t namedCount)
{
    return "zarn was started on " + std::to_string(namedCount) + " files or folders.\r" +
           startOnTheGameFolder;
}

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
        return {std::nullopt, moreThanOneNamed(named.size())};
    }
    std::error_code error;
    std::filesystem::path path = named.front();
    if (!path.empty()) {
        path = tidied(std::filesystem::absolute(path, error));
    }
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (path.empty() || status.type() == std::filesystem::file_type::not_found) {
        return {std::nullopt, folderMissing(utf8FromPath(path))};
    }
    if (error) {
        return {std::nullopt, folderUnreachable(utf8FromPath(path), error.message())};
    }
    return {std::filesystem::is_directory(status) ? path : path.parent_path(), {}};
}

} // namespace zarn
