#include "form_fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace zarn::qt {
namespace {

QString findFormFace()
{
    // Looked up in the installed families, not left to font substitution: a family that is not
    // installed costs Qt a round of fontconfig fallback matching for every size and weight.
    const QStringList installed = QFontDatabase::families();
    for (const char* family : {form::fontFamily, form::fontFamilyWithItsWidths}) {
        if (installed.contains(QString::fromUtf8(family))) {
            return QString::fromUtf8(family);
        }
    }
    QFont sansSerif(QStringLiteral("sans-serif"));
    sansSerif.setStyleHint(QFont::SansSerif);
    return QFontInfo(sansSerif).family();
}

} // namespace

QString formFace()
{
    static const QString face = findFormFace();
    return face;
}

QFont formFont(form::FontSize size, bool bold)
{
    QFont font(formFace());
    font.setPixelSize(form::fontPixels(size));
    font.setBold(bold);
    return font;
}

QFont messageFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setFamilies({formFace()});
    return font;
}

} // namespace zarn::qt
