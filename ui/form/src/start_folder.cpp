#include "zarn/form/start_folder.h"

#include "zarn/form/texts.h"

#include <system_error>

namespace zarn::form {

std::optional<GameFolder> startFolder(const std::vector<std::filesystem::path>& arguments,
                                      const std::filesystem::path& programFolder,
                                      FolderChooser& chooser)
{
    if (arguments.size() != 1 || arguments.front() != chooseFolderOption) {
        return gameFolderFor(arguments, programFolder);
    }
    std::error_code error;
    const std::optional<std::filesystem::path> chosen =
        chooser.chooseFolder(texts::chooseGameFolder, std::filesystem::current_path(error));
    if (!chosen) {
        return std::nullopt;
    }
    return gameFolderFor({*chosen}, programFolder);
}

} // namespace zarn::form
