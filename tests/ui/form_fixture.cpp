#include "form_fixture.h"

#include <QCoreApplication>
#include <QTimer>
#include <fstream>
#include <iterator>

namespace zarn::testing {

FormTest::FormTest()
{
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
}

std::optional<int> FormTest::exitStatusAfter(const std::function<void()>& action)
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

void FormTest::writeFile(const std::string& name, const std::string& bytes) const
{
    std::ofstream(folderPath() / name, std::ios::binary) << bytes;
}

std::string FormTest::readFile(const std::string& name) const
{
    std::ifstream in(folderPath() / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace zarn::testing
