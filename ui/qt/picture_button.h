#pragma once

#include <QPixmap>
#include <QPushButton>

namespace zarn::qt {

// A push button that shows a picture centred on its face and clipped to it, with its caption, if
// it has one, beneath the picture. Return and Enter press it as Space does. The picture is drawn
// pixel for pixel, and on a high-DPI screen each of its pixels becomes a block of whole screen
// pixels: at 125 % or 150 % it keeps its size in screen pixels, at 200 % it doubles.
class PictureButton : public QPushButton
{
    Q_OBJECT

public:
    PictureButton(const QPixmap& picture, const QString& caption, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Where the picture goes, centred on `area`, at `ratio` device pixels to a pixel.
    QRectF pictureRect(const QRect& area, qreal ratio) const;

    QPixmap m_picture;
};

} // namespace zarn::qt
