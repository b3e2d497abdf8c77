#include "application.h"

#include "pictures.h"
#include "zarn/form_layout.h"
#include "zarn/version.h"
#include "zarn/window_messages.h"

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
