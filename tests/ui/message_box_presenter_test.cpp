#include "message_box_presenter.h"
#include "print_qstring.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using namespace zarn::qt;

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
};

// Shows `text` through the presenter and returns what the box looked like before OK closed it.
SeenBox showAndDismiss(const std::string& text)
{
    SeenBox seen;
    QTimer::singleShot(0, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->text(),    box->textFormat(),
                box->icon(),        box->buttons(), box->button(QMessageBox::Ok),
                box->isModal(),     box->font()};
        seen.okButton->click();
    });
    MessageBoxPresenter().showMessage(text);
    return seen;
}

TEST(MessageBoxPresenter, ShowsAModalBoxTitledZarnWithOneOkButtonAndNoIcon)
{
    const SeenBox seen = showAndDismiss("Please select Panzer General or Allied General to edit.");
    EXPECT_EQ(seen.title, "zarn");
    EXPECT_EQ(seen.text, "Please select Panzer General or Allied General to edit.");
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    ASSERT_EQ(seen.buttons.size(), 1);
    EXPECT_EQ(seen.buttons[0], seen.okButton);
    EXPECT_TRUE(seen.modal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // The window's small pixel font is the application's; a message keeps the desktop's font.
    EXPECT_EQ(seen.font, QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    EXPECT_NE(seen.font, QApplication::font());
}

TEST(MessageBoxPresenter, ShowsEachLineOnALineOfItsOwnWithItsBlanks)
{
    const SeenBox seen = showAndDismiss("Error  !\r (-1 means the end.) \r\r<b>plain</b>");
    EXPECT_EQ(seen.text, "Error  !\n (-1 means the end.) \n\n<b>plain</b>");
    EXPECT_EQ(seen.format, Qt::PlainText);
}

} // namespace
