#include "application.h"

#include "form1.h"
#include "message_box_presenter.h"
#include "pictures.h"
#include "program_folder.h"
#include "zarn/form/layout.h"
#include "zarn/version.h"
#include "zarn/form/messages.h"

#include <QApplication>
#include <QFont>

void useWholeScaleFactors()
{
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
}

void setUpApplication()
{
    QApplication::setApplicationName(zarn::programTitle);
    QApplication::setApplicationVersion(zarn::version);
    QApplication::setWindowIcon(pixelArtIcon(picture(zarn::form::iconPicture)));
    // Liberation Sans has nearly the widths of MS Sans Serif, so the labels keep their layout.
    QFont::insertSubstitution(zarn::form::fontFamily, QStringLiteral("Liberation Sans"));
}

int runZarn(int& argc, char* argv[], const std::function<void(QWidget&)>& beforeShow)
{
    useWholeScaleFactors();
    QApplication application(argc, argv);
    setUpApplication();
    MessageBoxPresenter messages;
    Form1 window(programFolder(), messages);
    if (beforeShow) {
        beforeShow(window);
    }
    window.show();
    return QApplication::exec();
}
