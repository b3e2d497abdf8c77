#pragma once

#include <QAbstractButton>
#include <QFont>
#include <QList>
#include <QMessageBox>
#include <QString>
#include <string>

namespace zarn::testing {

// What a message box of the window looked like.
struct SeenBox
{
    QString title;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::Information;
    QList<QAbstractButton*> buttons;
    QAbstractButton* okButton = nullptr;
    bool modal = false;
    QFont font;
    int width = 0;
    // The label that shows the text: the width its lines have, and its font.
    int textWidth = 0;
    QFont textFont;
};

// Shows `text` through the window's message presenter and returns what the box looked like before
// OK closed it.
SeenBox showAndDismiss(const std::string& text);

} // namespace zarn::testing
