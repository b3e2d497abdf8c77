#include "zarn/form/texts.h"

#include "zarn/utf8_path.h"

namespace zarn::form::texts {

std::string missingPicture(std::string_view path)
{
    return "the picture " + shownText(path) + " is missing or damaged";
}

std::string runTimeErrorReport(std::string_view error)
{
    return "Run-time error\r" + std::string(error);
}

namespace {

constexpr char startOnTheGameFolder[] =
    "Start zarn on the folder that holds the game's ag.exe or pg.exe.";

} // namespace

std::string gameFolderMissing(std::string_view folder)
{
    return "The folder " + shownText(folder) + " does not exist.\r" + startOnTheGameFolder;
}

std::string gameFolderUnreachable(std::string_view folder, std::string_view reason)
{
    return "The folder " + shownText(folder) + " cannot be opened: " + std::string(reason) + "\r" +
           startOnTheGameFolder;
}

std::string oneGameFolderOnly(std::size_t namedCount)
{
    return "zarn was started on " + std::to_string(namedCount) + " files or folders.\r" +
           startOnTheGameFolder;
}

} // namespace zarn::form::texts
