#include "shown_message_box.h"

#include "message_box_presenter.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <gtest/gtest.h>

namespace zarn::testing {

SeenBox showAndDismiss(const std::string& text)
{
    SeenBox seen;
    QTimer::singleShot(0, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        const QLabel* text = nullptr;
        for (const QLabel* label : box->findChildren<QLabel*>()) {
            if (label->text() == box->text()) {
                text = label;
            }
        }
        seen = {box->windowTitle(),
                box->text(),
                box->textFormat(),
                box->icon(),
                box->buttons(),
                box->button(QMessageBox::Ok),
                box->isModal(),
                box->font(),
                box->width(),
                text != nullptr ? text->contentsRect().width() : 0,
                text != nullptr ? text->font() : QFont()};
        seen.okButton->click();
    });
    qt::MessageBoxPresenter().showMessage(text);
    return seen;
}

} // namespace zarn::testing
