#include "label.h"

#include <QMouseEvent>

namespace zarn::qt {

Label::Label(const QString& caption, QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setMouseTracking(true);
    setCaption(caption);
}

void Label::setCaption(const QString& caption)
{
    setText(caption);
    adjustSize();
}

void Label::setBold(bool bold)
{
    QFont boldOrRegular = font();
    boldOrRegular.setBold(bold);
    setFont(boldOrRegular);
}

bool Label::isBold() const
{
    return font().bold();
}

QColor Label::textColour() const
{
    return palette().color(QPalette::WindowText);
}

void Label::setTextColour(const QColor& colour)
{
    QPalette coloured = palette();
    coloured.setColor(QPalette::WindowText, colour);
    setPalette(coloured);
}

void Label::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        adjustSize();
    }
}

void Label::mouseMoveEvent(QMouseEvent*)
{
    emit mouseMoved();
}

void Label::mousePressEvent(QMouseEvent* event)
{
    // Accepting the press makes the release come back to this label.
    event->setAccepted(event->button() == Qt::LeftButton);
}

void Label::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

} // namespace zarn::qt
