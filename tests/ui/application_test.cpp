#include "application.h"
#include "folder_files.h"
#include "main_window.h"
#include "print_qstring.h"
#include "program_folder.h"
#include "recording_presenter.h"
#include "zarn/utf8_path.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFont>
#include <QFontDatabase>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <functional>
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

// The window that the command line "zarn" followed by `arguments`, as bytes, opens.
std::unique_ptr<MainWindow> windowFor(const std::vector<std::string>& arguments,
                                      zarn::MessagePresenter& messages)
{
    std::vector<std::string> commandLine{"zarn"};
    commandLine.insert(commandLine.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : commandLine) {
        argv.push_back(argument.data());
    }
    return windowForCommandLine(static_cast<int>(argv.size()), argv.data(), messages);
}

// Shows the window, chooses Panzer General and presses EXE -> TXT, which in a folder without
// pg.exe says where the window looked for it.
void exportPanzerGeneral(MainWindow& window)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(&window, Qt::Key_P, Qt::AltModifier);
    QTest::mouseClick(window.control(zarn::form::ControlId::ExportButton), Qt::LeftButton);
}

std::vector<std::string> notFoundIn(const std::filesystem::path& folder)
{
    return {"Could not find " + zarn::shownPath(folder / "pg.exe") +
            "\rMake sure it is in the zarn folder."};
}

// Runs `answer` on the modal dialog that the next event loop shows.
void answerDialog(const std::function<void(QFileDialog&)>& answer)
{
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answer(*dialog);
    });
}

TEST(CommandLine, OpensTheWindowOnTheFolderItNamesInTheBytesItIsNamedIn)
{
    // An old CD copy's name in Latin-1, which is no UTF-8.
    const QTemporaryDir parent;
    const std::filesystem::path game = parent.path().toStdString() + "/Gr\xf6\xdf"
                                                                     "e";
    std::filesystem::create_directory(game);
    zarn::testing::RecordingPresenter messages;

    const auto window = windowFor({game.string()}, messages);
    ASSERT_NE(window, nullptr);
    exportPanzerGeneral(*window);
    EXPECT_EQ(messages.shown, notFoundIn(game));
}

TEST(CommandLine, RefusesAFolderThatDoesNotExistWithoutAWindow)
{
    const QTemporaryDir parent;
    const std::string missing = parent.path().toStdString() + "/Allied General";
    zarn::testing::RecordingPresenter messages;

    EXPECT_EQ(windowFor({missing}, messages), nullptr);
    EXPECT_EQ(messages.refusals, std::vector<zarn::Refusal>{zarn::FolderMissing{missing}});
}

TEST(CommandLine, AsksForTheFolderWithQtsFolderDialogAndEndsWhenItIsCancelled)
{
    const QTemporaryDir parent;
    const std::filesystem::path game = parent.path().toStdString() + "/Allied General ä";
    std::filesystem::create_directory(game);
    const zarn::testing::CurrentFolder current(parent.path().toStdString());
    zarn::testing::RecordingPresenter messages;

    QString title;
    QString startedIn;
    answerDialog([&](QFileDialog& dialog) {
        title = dialog.windowTitle();
        startedIn = dialog.directory().absolutePath();
        dialog.selectFile(QString::fromStdString(game.string()));
        // What the dialog's Choose button does; QFileDialog keeps its override protected.
        static_cast<QDialog&>(dialog).accept();
    });
    const auto window = windowFor({"--choose-folder"}, messages);
    EXPECT_EQ(title, "Choose the folder that holds the game's ag.exe or pg.exe");
    EXPECT_EQ(startedIn, parent.path());
    ASSERT_NE(window, nullptr);
    exportPanzerGeneral(*window);
    EXPECT_EQ(messages.shown, notFoundIn(game));

    messages.shown.clear();
    answerDialog([](QFileDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(windowFor({"--choose-folder"}, messages), nullptr);
    EXPECT_EQ(messages.shown, std::vector<std::string>{});
}

} // namespace
