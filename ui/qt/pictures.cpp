#include "pictures.h"

#include "zarn/form/texts.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QResource>
#include <algorithm>
#include <bit>
#include <cstdint>
#include <stdexcept>
#include <utility>

namespace {

// The pixels are stored as the little-endian 0xAARRGGBB numbers that the raster pixmaps hold, so
// that they are shown without any conversion.
static_assert(std::endian::native == std::endian::little,
              "the compiled-in pictures are stored as little-endian pixels");

// One of the 32-bit little-endian numbers of a picture's raw data: its width, its height, whether
// it is opaque, then its pixels.
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

// An icon whose sizes are the picture enlarged by whole factors, each made only when it is asked
// for: window systems that show no window icon, such as Wayland, never ask.
class PixelArtIconEngine : public QIconEngine
{
public:
    explicit PixelArtIconEngine(QImage picture) : m_picture(std::move(picture)) {}

    // Every mode and state shows the picture as it is.
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        // The copies keep the picture's format, so Qt need not search them for transparency.
        return QPixmap::fromImage(enlarged(m_picture, factorFor(size)), Qt::NoOpaqueDetection);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        return m_picture.size() * factorFor(size);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (int factor = 1; factor <= largestFactor; ++factor) {
            sizes.append(m_picture.size() * factor);
        }
        return sizes;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const QPixmap sized = pixmap(rect.size(), mode, state);
        QRect target(QPoint(), sized.size());
        target.moveCenter(rect.center());
        painter->drawPixmap(target, sized);
    }

    QIconEngine* clone() const override { return new PixelArtIconEngine(m_picture); }

private:
    static constexpr int largestFactor = 4;

    // The largest factor at which the picture fits into `size`, and at least 1.
    int factorFor(const QSize& size) const
    {
        const int fits =
            std::min(size.width() / m_picture.width(), size.height() / m_picture.height());
        return std::clamp(fits, 1, largestFactor);
    }

    QImage m_picture;
};

} // namespace

namespace zarn::qt {

QPixmap picture(std::string_view name)
{
    const QString path =
        QStringLiteral(":/pictures/%1.argb")
            .arg(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    // Stored uncompressed, so that the data is used where it lies rather than copied.
    const QByteArray raw = QResource(path).uncompressedData();
    constexpr qsizetype header = 12;
    const qsizetype width = raw.size() >= header ? read32(raw, 0) : 0;
    const qsizetype height = raw.size() >= header ? read32(raw, 4) : 0;
    if (width == 0 || height == 0 || raw.size() != header + 4 * width * height) {
        throw std::runtime_error(zarn::form::texts::missingPicture(path.toStdString()));
    }
    // An opaque picture in a format without alpha spares Qt a search for transparent pixels.
    const bool opaque = read32(raw, 8) == 1;
    const QImage pixels(reinterpret_cast<const uchar*>(raw.constData()) + header,
                        static_cast<int>(width), static_cast<int>(height),
                        static_cast<qsizetype>(4 * width),
                        opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    return QPixmap::fromImage(pixels);
}

QIcon pixelArtIcon(const QPixmap& picture)
{
    return QIcon(new PixelArtIconEngine(picture.toImage()));
}

} // namespace zarn::qt
