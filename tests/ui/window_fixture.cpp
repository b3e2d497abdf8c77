#include "window_fixture.h"

#include "folder_files.h"

#include <QCoreApplication>
#include <QTimer>

namespace zarn::testing {

WindowTest::WindowTest()
{
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
}

std::optional<int> WindowTest::exitStatusAfter(const std::function<void()>& action)
{
    constexpr int keptRunning = -1;
    QTimer stillRunning;
    stillRunning.setSingleShot(true);
    QObject::connect(&stillRunning, &QTimer::timeout, [] { QCoreApplication::exit(keptRunning); });
    QTimer::singleShot(0, &stillRunning, [&] {
        action();
        stillRunning.start(100);
    });
    const int status = QCoreApplication::exec();
    if (status == keptRunning) {
        return std::nullopt;
    }
    return status;
}

void WindowTest::writeFile(const std::string& name, const std::string& bytes) const
{
    writeWholeFile(folderPath() / name, bytes);
}

std::string WindowTest::readFile(const std::string& name) const
{
    return readWholeFile(folderPath() / name);
}

} // namespace zarn::testing
