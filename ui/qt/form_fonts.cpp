#include "form_fonts.h"

#include <QFontDatabase>
#include <QStringList>
#include <cmath>

namespace zarn::qt {
namespace {

QString formFontFamily()
{
    // Looked up in the installed families, not left to font substitution: a family that is not
    // installed costs Qt a round of fontconfig fallback matching for every size and weight.
    const QString wanted = QString::fromUtf8(form::fontFamily);
    return QFontDatabase::families().contains(wanted) ? wanted : QStringLiteral("Liberation Sans");
}

} // namespace

QFont formFont(form::FontSize size, bool bold)
{
    static const QString family = formFontFamily();
    const double points =
        size == form::FontSize::Large ? form::largeFontPoints : form::defaultFontPoints;
    QFont font(family);
    font.setPixelSize(static_cast<int>(std::lround(points * 96 / 72)));
    font.setBold(bold);
    return font;
}

} // namespace zarn::qt
