#pragma once

#include <QLabel>
#include <QStaticText>

namespace zarn::qt {

// A label of the form: one line of plain text on the window's own background, always exactly as
// large as its text. When its caption or its font changes it lays the text out once and fits itself
// to it again, keeping its left and top edges; every paint draws that layout. It reports clicks
// and mouse moves, so that it can act as a link.
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
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The left mouse button was pressed and released over the label.
    void clicked();
    // The pointer moved over the label, whatever the buttons.
    void mouseMoved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Lays the caption out in the current font and fits the label to it.
    void fit();

    bool m_link;
    // The caption laid out once, for measuring and for every paint.
    QStaticText m_laidOut;
};

} // namespace zarn::qt
