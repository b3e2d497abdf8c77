#include "pictures.h"

QPixmap picture(std::string_view name)
{
    return QPixmap(QStringLiteral(":/pictures/%1.xpm")
                       .arg(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))));
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
