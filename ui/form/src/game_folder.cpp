#include "zarn/form/game_folder.h"

#include "zarn/form/texts.h"
#include "zarn/utf8_path.h"

#include <system_error>

namespace zarn::form {
namespace {

// The path without "." and ".." steps and without a closing separator, which messages would show.
std::filesystem::path tidied(const std::filesystem::path& path)
{
    const std::filesystem::path normal = path.lexically_normal();
    return normal.has_filename() || !normal.has_relative_path() ? normal : normal.parent_path();
}

} // namespace

GameFolder gameFolderFor(const std::vector<std::filesystem::path>& arguments,
                         const std::filesystem::path& programFolder)
{
    if (arguments.empty()) {
        return {programFolder, {}};
    }
    if (arguments.size() > 1) {
        return {std::nullopt, texts::oneGameFolderOnly(arguments.size())};
    }
    std::error_code error;
    std::filesystem::path named = arguments.front();
    if (!named.empty()) {
        named = tidied(std::filesystem::absolute(named, error));
    }
    const std::filesystem::file_status status = std::filesystem::status(named, error);
    if (named.empty() || status.type() == std::filesystem::file_type::not_found) {
        return {std::nullopt, texts::gameFolderMissing(displayPath(named))};
    }
    if (error) {
        return {std::nullopt, texts::gameFolderUnreachable(displayPath(named), error.message())};
    }
    return {std::filesystem::is_directory(status) ? named : named.parent_path(), {}};
}

} // namespace zarn::form
