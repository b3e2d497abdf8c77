#include "pictures.h"

#include <QImage>
#include <QResource>
#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace {

// The width, height or pixels of a picture's raw data, which start with the width and the
// height as 32-bit little-endian numbers.
std::uint32_t read32(const QByteArray& raw, qsizetype at)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(raw[at + i])) << (8 * i);
    }
    return value;
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
    const QString path =
        QStringLiteral(":/pictures/%1.rgba")
            .arg(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    // Stored uncompressed, so that the data is used where it lies rather than copied.
    const QByteArray raw = QResource(path).uncompressedData();
    const qsizetype width = raw.size() >= 8 ? read32(raw, 0) : 0;
    const qsizetype height = raw.size() >= 8 ? read32(raw, 4) : 0;
    if (width == 0 || height == 0 || raw.size() != 8 + 4 * width * height) {
        throw std::runtime_error("the picture " + path.toStdString() + " is missing or damaged");
    }
    const QImage pixels(reinterpret_cast<const uchar*>(raw.constData()) + 8,
                        static_cast<int>(width), static_cast<int>(height),
                        static_cast<qsizetype>(4 * width), QImage::Format_RGBA8888_Premultiplied);
    return QPixmap::fromImage(pixels);
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
