#include "application.h"

#include "main_window.h"
#include "message_box_presenter.h"
#include "pictures.h"
#include "program_folder.h"
#include "zarn/form/layout.h"
#include "zarn/form/messages.h"
#include "zarn/version.h"

#include <QApplication>
#include <QFont>

namespace zarn::qt {

void useWholeScaleFactors()
{
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
}

void setUpApplication()
{
    QApplication::setApplicationName(form::programTitle);
    QApplication::setApplicationVersion(zarn::version);
    QApplication::setWindowIcon(pixelArtIcon(picture(form::iconPicture)));
    // Liberation Sans has nearly the widths of MS Sans Serif, so the labels keep their layout.
    QFont::insertSubstitution(form::fontFamily, QStringLiteral("Liberation Sans"));
}

int runZarn(int& argc, char* argv[], const std::function<void(QWidget&)>& beforeShow)
{
    useWholeScaleFactors();
    QApplication application(argc, argv);
    setUpApplication();
    MessageBoxPresenter messages;
    MainWindow window(programFolder(), messages);
    if (beforeShow) {
        beforeShow(window);
    }
    window.show();
    return QApplication::exec();
}

} // namespace zarn::qt
