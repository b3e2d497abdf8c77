#include "picture_button.h"

#include "zarn/form/layout.h"

#include <QKeyEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace zarn::qt {

PictureButton::PictureButton(const QPixmap& picture, const QString& caption, QWidget* parent)
    : QPushButton(caption, parent), m_picture(picture)
{}

void PictureButton::keyPressEvent(QKeyEvent* event)
{
    // Enter on the keypad carries the keypad modifier; any other modifier makes another key.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

QRectF PictureButton::pictureRect(const QRect& area, qreal ratio) const
{
    // Worked out in device pixels, so that the picture starts on one and each picture pixel
    // becomes a square of whole device pixels, as many as the scale factor holds. Without smooth
    // transformation the painter then copies the pixels exactly.
    const int factor = form::pictureFactor(ratio);
    const QRect onScreen(qRound(area.left() * ratio), qRound(area.top() * ratio),
                         qRound(area.width() * ratio), qRound(area.height() * ratio));
    QRect picture(QPoint(), m_picture.size() * factor);
    picture.moveCenter(onScreen.center());
    return QRectF(QPointF(picture.topLeft()) / ratio, QSizeF(picture.size()) / ratio);
}

void PictureButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    const QRect face = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    QRect pictureArea = face;
    if (!text().isEmpty()) {
        const int captionHeight = fontMetrics().height();
        pictureArea.setBottom(face.bottom() - captionHeight);
        const QRect captionArea(face.left(), pictureArea.bottom() + 1, face.width(), captionHeight);
        painter.drawItemText(captionArea, Qt::AlignCenter, palette(), isEnabled(), text(),
                             QPalette::ButtonText);
    }

    painter.setClipRect(pictureArea);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // The painter's scale to device pixels: the screen's scale factor, or that of the image the
    // button is rendered into.
    const qreal ratio = painter.deviceTransform().m11();
    painter.drawPixmap(pictureRect(pictureArea, ratio), m_picture, m_picture.rect());
    painter.setClipping(false);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

} // namespace zarn::qt
