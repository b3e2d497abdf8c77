#include "message_box_presenter.h"
#include "print_qstring.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
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
    int width = 0;
    // The label that shows the text: the width its lines have.
    int textWidth = 0;
    QFont textFont;
};

// Shows `text` through the presenter and returns what the box looked like before OK closed it.
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

TEST(MessageBoxPresenter, KeepsEachLineWholeInAMessageWiderThanHalfTheScreen)
{
    // QMessageBox wraps such a text; on a screen scaled to 150 % the help message is one.
    const QFontMetrics metrics(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    const int screenWidth = QGuiApplication::primaryScreen()->availableGeometry().width();
    QString longLine = QStringLiteral("There must always be 646 units");
    while (metrics.horizontalAdvance(longLine) <= screenWidth * 6 / 10) {
        longLine += QStringLiteral(" including the -1 entries");
    }
    const QStringList lines = {QStringLiteral(" 'EXE -> TXT' Button:"), longLine,
                               QStringLiteral(" (-1 means the end of the section.) ")};

    const SeenBox seen = showAndDismiss(lines.join(u'\r').toStdString());
    ASSERT_GT(seen.textWidth, 0);
    for (const QString& line : lines) {
        EXPECT_LE(QFontMetrics(seen.textFont).horizontalAdvance(line), seen.textWidth)
            << line.toStdString();
    }
    EXPECT_LE(seen.width, screenWidth);
}

} // namespace
