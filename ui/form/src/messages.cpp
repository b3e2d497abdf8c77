#include "zarn/form/messages.h"

namespace zarn::form {

std::string runTimeErrorReport(std::string_view error)
{
    return "Run-time error\r" + std::string(error);
}

} // namespace zarn::form
