#include "form_fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace zarn::qt {
namespace {

QString formFontFamily()
{
    // Looked up in the installed families, not left to font substitution: a family that is not
    // installed costs Qt a round of fontconfig fallback matching for every size and weight.
    const QStringList installed = QFontDatabase::families();
    for (const QString& family :
         {QString::fromUtf8(form::fontFamily), QStringLiteral("Liberation Sans")}) {
        if (installed.contains(family)) {
            return family;
        }
    }
    QFont sansSerif(QStringLiteral("sans-serif"));
    sansSerif.setStyleHint(QFont::SansSerif);
    return QFontInfo(sansSerif).family();
}

} // namespace

QFont formFont(form::FontSize size, bool bold)
{
    static const QString family = formFontFamily();
    QFont font(family);
    font.setPixelSize(form::fontPixels(size));
    font.setBold(bold);
    return font;
}

} // namespace zarn::qt
