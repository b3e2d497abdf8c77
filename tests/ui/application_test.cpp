#include "application.h"
#include "main_window.h"
#include "print_qstring.h"
#include "program_folder.h"
#include "recording_presenter.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>
#include <set>

namespace {

using namespace zarn::qt;

TEST(Application, IsNamedZarn)
{
    EXPECT_EQ(QApplication::applicationName(), "zarn");
}

TEST(Application, UsesTheFormsDefaultFontAndTheDesktopsSizeForToolTips)
{
    const QFont font = QApplication::font();
    EXPECT_TRUE(std::set<QString>({"MS Sans Serif", "Liberation Sans"}).count(font.family()))
        << font.family().toStdString();
    EXPECT_EQ(font.pixelSize(), 11);
    EXPECT_FALSE(font.bold());
    EXPECT_EQ(QToolTip::font().pointSizeF(),
              QFontDatabase::systemFont(QFontDatabase::GeneralFont).pointSizeF());
    EXPECT_EQ(QToolTip::font().family(), font.family());
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

const std::string startOnTheGame =
    "\rStart zarn on the folder that holds the game's ag.exe or pg.exe.";

TEST(CommandLine, OpensTheWindowOnTheFolderItNamesAndNamesThatFolderInMessages)
{
    const QTemporaryDir parent;
    const QString game = parent.path() + QStringLiteral("/Allied General ä");
    ASSERT_TRUE(QDir().mkdir(game));
    zarn::testing::RecordingPresenter messages;

    const auto window = windowForCommandLine({"zarn", game}, messages);
    ASSERT_NE(window, nullptr);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QTest::keyClick(window.get(), Qt::Key_A, Qt::AltModifier);
    QTest::mouseClick(window->control(zarn::form::ControlId::ExportButton), Qt::LeftButton);
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Could not find " + game.toStdString() +
                                                       "/ag.exe\rMake sure it is in the zarn "
                                                       "folder."});
}

TEST(CommandLine, RefusesAFolderThatDoesNotExistWithoutAWindow)
{
    const QTemporaryDir parent;
    const QString missing = parent.path() + QStringLiteral("/Allied General");
    zarn::testing::RecordingPresenter messages;

    EXPECT_EQ(windowForCommandLine({"zarn", missing}, messages), nullptr);
    EXPECT_EQ(messages.shown, std::vector<std::string>{"The folder " + missing.toStdString() +
                                                       " does not exist." + startOnTheGame});
}

} // namespace
