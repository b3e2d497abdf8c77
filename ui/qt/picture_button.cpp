#include "picture_button.h"

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

    // Without smooth transformation the painter scales by repeating pixels, which keeps the
    // pixel art sharp at any scale factor. The style may have left the hint on.
    QRect pictureRect(QPoint(), m_picture.deviceIndependentSize().toSize());
    pictureRect.moveCenter(pictureArea.center());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setClipRect(pictureArea);
    painter.drawPixmap(pictureRect, m_picture);
    painter.setClipping(false);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

} // namespace zarn::qt
