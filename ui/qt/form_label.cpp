#include "form_label.h"

#include <QMouseEvent>

FormLabel::FormLabel(const QString& caption, QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setMouseTracking(true);
    setCaption(caption);
}

void FormLabel::setCaption(const QString& caption)
{
    setText(caption);
    adjustSize();
}

void FormLabel::setBold(bool bold)
{
    QFont boldOrRegular = font();
    boldOrRegular.setBold(bold);
    setFont(boldOrRegular);
}

bool FormLabel::isBold() const
{
    return font().bold();
}

QColor FormLabel::textColour() const
{
    return palette().color(QPalette::WindowText);
}

void FormLabel::setTextColour(const QColor& colour)
{
    QPalette coloured = palette();
    coloured.setColor(QPalette::WindowText, colour);
    setPalette(coloured);
}

void FormLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        adjustSize();
    }
}

void FormLabel::mouseMoveEvent(QMouseEvent*)
{
    emit mouseMoved();
}

void FormLabel::mousePressEvent(QMouseEvent* event)
{
    // Accepting the press makes the release come back to this label.
    event->setAccepted(event->button() == Qt::LeftButton);
}

void FormLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}
