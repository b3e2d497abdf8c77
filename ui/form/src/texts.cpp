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

} // namespace zarn::form::texts
