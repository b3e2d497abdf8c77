#include "print_qstring.h"
#include "program_folder.h"
#include "zarn/version.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace zarn::qt;

TEST(Application, IsNamedZarnWithTheProjectsVersion)
{
    EXPECT_EQ(QApplication::applicationName(), "zarn");
    EXPECT_EQ(QApplication::applicationVersion(), "1.00");
    EXPECT_EQ(QApplication::applicationVersion(), zarn::version);
}

TEST(Application, LetsLiberationSansStandInForMsSansSerif)
{
    EXPECT_EQ(QFont::substitute(QStringLiteral("MS Sans Serif")).toLower(), "liberation sans");
}

TEST(ProgramFolder, IsTheFolderOfTheRunningProgram)
{
    EXPECT_TRUE(std::filesystem::equivalent(
        programFolder(), toFilesystemPath(QApplication::applicationFilePath()).parent_path()));
}

TEST(ProgramFolder, KeepsCharactersBeyondAscii)
{
    const QTemporaryDir parent;
    const QString name = QStringLiteral("zarn-ü-ß-テスト-😀");
    ASSERT_TRUE(QDir(parent.path()).mkdir(name));

    const std::filesystem::path path = toFilesystemPath(parent.path() + "/" + name);
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(QString::fromStdU16String(path.filename().u16string()), name);
}

} // namespace
