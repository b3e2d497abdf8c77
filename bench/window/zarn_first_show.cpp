#include "application.h"
#include "first_paint_reporter.h"
#include "form1.h"
#include "message_box_presenter.h"
#include "program_folder.h"

#include <QApplication>

// The editor as main() starts it, ending once its window has been painted.
int main(int argc, char* argv[])
{
    useWholeScaleFactors();
    QApplication application(argc, argv);
    setUpApplication();
    MessageBoxPresenter messages;
    Form1 window(programFolder(), messages);
    FirstPaintReporter reporter(&window);
    window.show();
    return QApplication::exec();
}
