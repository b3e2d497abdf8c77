#include "program_folder.h"

#include <QCoreApplication>

namespace zarn::qt {

std::filesystem::path programFolder()
{
    return toFilesystemPath(QCoreApplication::applicationDirPath());
}

std::filesystem::path toFilesystemPath(const QString& path)
{
    // UTF-16 converts losslessly both to the UTF-8 of POSIX paths and to Windows' wide paths.
    return std::filesystem::path(path.toStdU16String());
}

} // namespace zarn::qt
