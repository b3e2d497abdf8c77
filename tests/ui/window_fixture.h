#pragma once

#include "label.h"
#include "main_window.h"
#include "print_qstring.h"
#include "program_folder.h"
#include "recording_presenter.h"

#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace zarn::testing {

using namespace zarn::qt;
using form::ControlId;

// A shown window whose program folder is a fresh temporary folder with a name beyond ASCII, and
// whose messages are recorded.
class WindowTest : public ::testing::Test
{
protected:
    WindowTest();

    template <typename Widget = QWidget>
    Widget* control(ControlId id)
    {
        auto* widget = qobject_cast<Widget*>(window.control(id));
        EXPECT_NE(widget, nullptr) << ::testing::PrintToString(id);
        return widget;
    }
    Label* label(ControlId id) { return control<Label>(id); }

    // Moves the pointer over `widget`, at its centre unless `position` is given.
    void moveOver(QWidget* widget, QPoint position = {}) { QTest::mouseMove(widget, position); }
    void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    // Runs the event loop, does `action` inside it and returns the exit status the program
    // ended with, or nothing when it kept running.
    static std::optional<int> exitStatusAfter(const std::function<void()>& action);

    std::filesystem::path folderPath() const { return toFilesystemPath(folder.path()); }
    void writeFile(const std::string& name, const std::string& bytes) const;
    std::string readFile(const std::string& name) const;

    QTemporaryDir folder{QDir::tempPath() + QStringLiteral("/zarn-ü-テスト-XXXXXX")};
    RecordingPresenter messages;
    MainWindow window{folderPath(), messages};
};

} // namespace zarn::testing
