#pragma once

#include "zarn/form/start_folder.h"

namespace zarn::win32 {

// The Windows folder picker: the file dialog of the shell that chooses a folder.
class FolderPicker final : public form::FolderChooser
{
public:
    // @throw std::system_error when the picker cannot be shown.
    std::optional<std::filesystem::path>
    chooseFolder(std::string_view title, const std::filesystem::path& startIn) override;
};

} // namespace zarn::win32
