#include "first_paint_reporter.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>
#include <memory>

// The least a Qt Widgets program does to show a window, ending once it has been painted. Given
// the argument "text", the window is a label with one word, which also starts Qt's font system.
int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const bool withText = argc > 1 && std::strcmp(argv[1], "text") == 0;
    std::unique_ptr<QWidget> window;
    if (withText) {
        window = std::make_unique<QLabel>(QStringLiteral("zarn"));
    } else {
        window = std::make_unique<QWidget>();
    }
    FirstPaintReporter reporter(window.get());
    window->show();
    return QApplication::exec();
}
