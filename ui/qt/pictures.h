#pragma once

#include <QIcon>
#include <QPixmap>
#include <string_view>

namespace zarn::qt {

// One of the pictures compiled into the program, by its base name: "tank", "exe_txt",
// "txt_exe", "quit" or "help".
// @throw std::runtime_error when the picture is not compiled in.
QPixmap picture(std::string_view name);

// The picture as an icon whose larger sizes are whole multiples of it, each picture pixel a
// square block of pixels.
QIcon pixelArtIcon(const QPixmap& picture);

} // namespace zarn::qt
