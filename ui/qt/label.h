#pragma once

#include <QLabel>

namespace zarn::qt {

// A label of the form: one line of plain text on the window's own background, always exactly as
// large as its text. When its caption or its font changes it fits itself again, keeping its left
// and top edges. It reports clicks and mouse moves, so that it can act as a link.
class Label : public QLabel
{
    Q_OBJECT

public:
    // A link is announced to assistive technology as a link that can be pressed.
    Label(const QString& caption, bool link, QWidget* parent);

    // Shows `caption` and fits the label to it.
    void setCaption(const QString& caption);
    // Switches bold on or off, keeping the font's family and size, and fits the label again.
    void setBold(bool bold);
    bool isBold() const;
    QColor textColour() const;
    void setTextColour(const QColor& colour);
    bool isLink() const { return m_link; }

signals:
    // The left mouse button was pressed and released over the label.
    void clicked();
    // The pointer moved over the label, whatever the buttons.
    void mouseMoved();

protected:
    void changeEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_link;
};

} // namespace zarn::qt
