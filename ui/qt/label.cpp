#include "label.h"

#include <QAccessibleWidget>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

namespace zarn::qt {
namespace {

// A link label as assistive technology sees it: a link with the label's name and description,
// whose press action clicks it.
class AccessibleLink : public QAccessibleWidget
{
public:
    explicit AccessibleLink(Label* label) : QAccessibleWidget(label, QAccessible::Link) {}

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& action) override
    {
        if (action == pressAction()) {
            emit static_cast<Label*>(widget())->clicked();
        }
    }
};

QAccessibleInterface* accessibleLinkFactory(const QString&, QObject* object)
{
    auto* label = qobject_cast<Label*>(object);
    return label != nullptr && label->isLink() ? new AccessibleLink(label) : nullptr;
}

} // namespace

Label::Label(const QString& caption, const QFont& layoutFont, form::TextRoom room, bool link,
             QWidget* parent)
    : QLabel(parent), m_link(link), m_layoutFont(layoutFont), m_room(room)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(&accessibleLinkFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setTextFormat(Qt::PlainText);
    m_laidOut.setTextFormat(Qt::PlainText);
    setMouseTracking(true);
    setCaption(caption);
}

void Label::setCaption(const QString& caption)
{
    // The label's text stays what assistive technology reads; the layout is what shows.
    setText(caption);
    m_laidOut.setText(caption);
    fit();
}

QSize Label::sizeHint() const
{
    const QSizeF size = m_laidOut.size();
    return {qCeil(size.width()), qCeil(size.height())};
}

QSize Label::minimumSizeHint() const
{
    return sizeHint();
}

void Label::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawStaticText(QPointF(), m_laidOut);
}

void Label::setBold(bool bold)
{
    m_layoutFont.setBold(bold);
    fit();
}

bool Label::isBold() const
{
    return m_layoutFont.bold();
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

void Label::fit()
{
    QFont measured = m_layoutFont;
    measured.setBold(m_room.measuredBold || m_layoutFont.bold());
    const int pixels =
        form::fittedPixels(m_layoutFont.pixelSize(), m_room.width, [&](int candidate) {
            measured.setPixelSize(candidate);
            return qCeil(QFontMetricsF(measured).horizontalAdvance(text()));
        });
    QFont shown = m_layoutFont;
    shown.setPixelSize(pixels);
    setFont(shown);
    m_laidOut.prepare(QTransform(), shown);
    adjustSize();
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
