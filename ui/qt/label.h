#pragma once

#include "zarn/form/text_fit.h"

#include <QLabel>
#include <QStaticText>

namespace zarn::qt {

// A label of the form: one line of plain text on the window's own background, always exactly as
// large as its text. Its text is drawn in the layout's font for it, or a few pixels smaller where
// the face at hand would make it wider than the room the layout leaves it. When its caption or its
// weight changes it chooses that size again, lays the text out once and fits itself to it,
// keeping its left and top edges; every paint draws that layout. It reports clicks and mouse
// moves, so that it can act as a link.
class Label : public QLabel
{
    Q_OBJECT

public:
    // A label showing `caption` in `layoutFont`, or in a smaller pixel size of it where the caption
    // needs more than `room`. A link is announced to assistive technology as a link that can be
    // pressed.
    Label(const QString& caption, const QFont& layoutFont, form::TextRoom room, bool link,
          QWidget* parent);

    // Shows `caption` and fits the label to it.
    void setCaption(const QString& caption);
    // Switches bold on or off, keeping the font's family and layout size, and fits the label again.
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
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Chooses the pixel size for the caption, lays it out and fits the label to it.
    void fit();

    bool m_link;
    // The font the layout gives the label, in its current weight; font() is the one it shows.
    QFont m_layoutFont;
    form::TextRoom m_room;
    // The caption laid out once, for measuring and for every paint.
    QStaticText m_laidOut;
};

} // namespace zarn::qt
