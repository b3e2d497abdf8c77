// Writes zarn's icon as a square PNG of the size asked for, for the desktop's icon theme. Sizes of
// at least the picture's own hold it at the largest whole multiple that fits, centred, so that its
// pixels stay sharp as in the window's icon; smaller sizes scale it down smoothly.
// Usage: icon_png PICTURE.xpm SIZE OUTPUT.png
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>

int main(int argc, char** argv)
{
    bool sizeRead = false;
    const int size = argc == 4 ? QByteArray(argv[2]).toInt(&sizeRead) : 0;
    if (!sizeRead || size <= 0) {
        std::fprintf(stderr, "usage: icon_png PICTURE.xpm SIZE OUTPUT.png\n");
        return 2;
    }
    const QImage picture(QString::fromLocal8Bit(argv[1]));
    if (picture.isNull()) {
        std::fprintf(stderr, "icon_png: cannot read the picture %s\n", argv[1]);
        return 1;
    }
    const int factor = std::min(size / picture.width(), size / picture.height());
    const QImage scaled =
        factor >= 1 ? picture.scaled(picture.size() * factor)
                    : picture.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter(&icon).drawImage((size - scaled.width()) / 2, (size - scaled.height()) / 2, scaled);
    if (!icon.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "icon_png: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
