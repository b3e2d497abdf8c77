#pragma once

#include "zarn/runtime_error.h"

#include <filesystem>
#include <string_view>

namespace zarn {

// Several files in a folder answer to one name when case is ignored, and none has the name
// exactly; the text lists them.
class NameClash : public RuntimeError
{
public:
    using RuntimeError::RuntimeError;
};

// The file in `folder` that the user means by `name`: the one of exactly that name; else the one
// whose name differs from it only in case (games copied off a CD carry "AG.EXE"); else, where
// none does, `folder / name`. The result keeps the file's own spelling; `name` is UTF-8.
// @throw NameClash where several files differ from `name` only in case.
std::filesystem::path fileAnsweringTo(const std::filesystem::path& folder, std::string_view name);

// The last part of a path, as the user sees it in messages.
std::string fileNameOf(const std::filesystem::path& path);

} // namespace zarn
