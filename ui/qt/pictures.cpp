#include "pictures.h"

#include <QImageReader>

namespace zarn::qt {

QPixmap picture(std::string_view name)
{
    // Naming the format spares Qt from trying its image plugins on each picture.
    QImageReader reader(
        QStringLiteral(":/pictures/%1.xpm")
            .arg(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))),
        "xpm");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImageReader(&reader);
}

QIcon pixelArtIcon(const QPixmap& picture)
{
    QIcon icon(picture);
    for (int factor = 2; factor <= 4; ++factor) {
        icon.addPixmap(
            picture.scaled(picture.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    }
    return icon;
}

} // namespace zarn::qt
