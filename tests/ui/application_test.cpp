#include "print_qstring.h"
#include "program_folder.h"
#include "zarn/version.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QTemporaryDir>
#include <QToolTip>
#include <gtest/gtest.h>
#include <set>

namespace {

using namespace zarn::qt;

TEST(Application, IsNamedZarnWithTheProjectsVersion)
{
    EXPECT_EQ(QApplication::applicationName(), "zarn");
    EXPECT_EQ(QApplication::applicationVersion(), "1.00");
    EXPECT_EQ(QApplication::applicationVersion(), zarn::version);
}

TEST(Application, UsesTheFormsDefaultFontAndKeepsTheDesktopsFontForToolTips)
{
    const QFont font = QApplication::font();
    EXPECT_TRUE(std::set<QString>({"MS Sans Serif", "Liberation Sans"}).count(font.family()))
        << font.family().toStdString();
    EXPECT_EQ(font.pixelSize(), 11);
    EXPECT_FALSE(font.bold());
    EXPECT_EQ(QToolTip::font(), QFontDatabase::systemFont(QFontDatabase::GeneralFont));
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
