#include "application.h"
#include "form1.h"
#include "message_box_presenter.h"
#include "program_folder.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    useWholeScaleFactors();
    QApplication application(argc, argv);
    setUpApplication();
    MessageBoxPresenter messages;
    Form1 window(programFolder(), messages);
    window.show();
    return QApplication::exec();
}
