#include "print_qstring.h"
#include "shown_message_box.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QScreen>
#include <gtest/gtest.h>
#include <set>

namespace {

using zarn::testing::SeenBox;
using zarn::testing::showAndDismiss;

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
    // The window's small pixel font is the application's; a message keeps the desktop's size, in
    // the layout's face or the one with its widths.
    const QFont desktop = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    EXPECT_EQ(seen.font.pointSizeF(), desktop.pointSizeF());
    EXPECT_EQ(seen.font.pixelSize(), desktop.pixelSize());
    EXPECT_TRUE(std::set<QString>({"MS Sans Serif", "Liberation Sans"})
                    .count(QFontInfo(seen.textFont).family()))
        << QFontInfo(seen.textFont).family().toStdString();
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
