#include "message_box_presenter.h"

#include "form_fonts.h"
#include "zarn/form/texts.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>

namespace zarn::qt {
namespace {

// QMessageBox wraps a text wider than half the screen into its width, which on a scaled screen
// breaks a message's own lines mid-sentence. A text label at least as wide as its longest line
// keeps every line whole.
void keepLinesWhole(QMessageBox& box)
{
    if (auto* text = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        text->setMinimumWidth(text->sizeHint().width());
    }
}

} // namespace

void MessageBoxPresenter::showMessage(const std::string& text)
{
    QMessageBox box(QMessageBox::NoIcon, form::texts::programTitle,
                    QString::fromStdString(text).replace(u'\r', u'\n'), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setFont(messageFont());
    keepLinesWhole(box);
    box.exec();
}

} // namespace zarn::qt
