#include "pictures.h"

#include "xpm_image.h"

#include <QImage>
#include <QResource>
#include <algorithm>

namespace {

QImage toImage(const xpm::Image& picture)
{
    const bool transparent = std::any_of(picture.pixels.begin(), picture.pixels.end(),
                                         [](const xpm::Pixel& pixel) { return !pixel; });
    QImage image(picture.width, picture.height,
                 transparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    for (int y = 0; y < picture.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < picture.width; ++x) {
            const xpm::Pixel& pixel = picture.at(x, y);
            line[x] = pixel ? qRgb(pixel->red, pixel->green, pixel->blue) : 0;
        }
    }
    return image;
}

// The picture with each of its pixels repeated into a square block of factor × factor pixels.
// Copying the pixels takes a fraction of the time of Qt's general scaling.
QImage enlarged(const QImage& picture, int factor)
{
    QImage large(picture.size() * factor, picture.format());
    const int width = large.width();
    for (int y = 0; y < picture.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        auto* row = reinterpret_cast<QRgb*>(large.scanLine(y * factor));
        for (int x = 0; x < width; x += factor) {
            std::fill_n(row + x, factor, from[x / factor]);
        }
        for (int copy = 1; copy < factor; ++copy) {
            std::copy_n(row, width, reinterpret_cast<QRgb*>(large.scanLine(y * factor + copy)));
        }
    }
    return large;
}

} // namespace

namespace zarn::qt {

QPixmap picture(std::string_view name)
{
    // Read with the same small XPM reader that makes the Windows resources: it takes a fraction
    // of the time that Qt's general image reading takes, which counts at start-up.
    const QResource resource(
        QStringLiteral(":/pictures/%1.xpm")
            .arg(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))));
    const QByteArray text = resource.uncompressedData();
    return QPixmap::fromImage(toImage(
        xpm::parse(std::string_view(text.constData(), static_cast<std::size_t>(text.size())))));
}

QIcon pixelArtIcon(const QPixmap& picture)
{
    const QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QIcon icon(picture);
    for (int factor = 2; factor <= 4; ++factor) {
        icon.addPixmap(QPixmap::fromImage(enlarged(image, factor)));
    }
    return icon;
}

} // namespace zarn::qt
