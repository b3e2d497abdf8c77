#include "label_rooms.h"
#include "shown_message_box.h"
#include "window_fixture.h"
#include "zarn/form/layout.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QToolTip>
#include <functional>

// Run once for each font set (tests/ui/CMakeLists.txt): fontconfig offers the fonts of one family
// alone, named with whether its widths are the layout's.
namespace zarn::testing {
namespace {

QString setFamily()
{
    return qEnvironmentVariable("ZARN_FONT_FAMILY");
}

bool setHasLayoutWidths()
{
    return qEnvironmentVariable("ZARN_FONT_HAS_LAYOUT_WIDTHS") == QStringLiteral("yes");
}

// The smallest rectangle that holds every pixel of `image` that is not black.
QRect inkIn(const QImage& image)
{
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xffffff) != 0) {
                ink |= QRect(x, y, 1, 1);
            }
        }
    }
    return ink;
}

// The ink of what `label` paints on the window's black, inside its own rectangle.
QRect paintedInk(Label* label)
{
    QImage image(label->size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    label->render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return inkIn(image);
}

// The ink of the label's text drawn in its font and colour with room to spare on every side.
QRect wholeInk(const Label* label)
{
    QImage image(label->size() + QSize(40, 20), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setFont(label->font());
    painter.setPen(label->textColour());
    painter.drawText(image.rect(), Qt::AlignLeft | Qt::AlignTop, label->text());
    return inkIn(image);
}

class LabelFitTest : public WindowTest
{
protected:
    // Runs `check` in every state the labels can take: each file name the form shows, each link
    // bold or regular.
    void inEveryState(const std::function<void()>& check)
    {
        for (const char* fileName : {"None Specified", "pg.exe", "ag.exe"}) {
            for (int boldLinks = 0; boldLinks < 8; ++boldLinks) {
                SCOPED_TRACE(std::string(fileName) + " bold set " + std::to_string(boldLinks));
                label(form::ControlId::FileNameLabel)->setCaption(QString::fromLatin1(fileName));
                label(form::ControlId::PanzerGeneralLink)->setBold(boldLinks & 1);
                label(form::ControlId::AlliedGeneralLink)->setBold(boldLinks & 2);
                label(form::ControlId::CreditsLink)->setBold(boldLinks & 4);
                check();
            }
        }
    }
};

TEST_F(LabelFitTest, LabelsShowTheFaceOfTheSet)
{
    ASSERT_FALSE(setFamily().isEmpty()) << "run through CTest, which names the font set";
    for (const LabelRoom& room : labelRooms) {
        EXPECT_EQ(QFontInfo(label(room.label)->font()).family(), setFamily())
            << ::testing::PrintToString(room.label)
            << ": are the set's fonts installed? (scripts/setup tests)";
    }
}

// Where the system's sans-serif face is a monospace one (Liberation Mono, where Liberation alone
// is installed), messages would show in it.
TEST(FontSetMessages, MessagesAndToolTipsShowTheFaceOfTheSet)
{
    const SeenBox seen = showAndDismiss("Please select Panzer General or Allied General to edit.");
    EXPECT_EQ(QFontInfo(seen.textFont).family(), setFamily());
    EXPECT_EQ(QFontInfo(QToolTip::font()).family(), setFamily());
}

TEST_F(LabelFitTest, TextsStayInsideTheirLabelsAndClearOfTheNextControlInEveryState)
{
    inEveryState([this] {
        for (const LabelRoom& room : labelRooms) {
            SCOPED_TRACE(::testing::PrintToString(room.label));
            Label* each = label(room.label);
            // Nothing of the text is cut off, and it ends clear of the next control.
            const QRect whole = wholeInk(each);
            EXPECT_EQ(paintedInk(each), whole);
            EXPECT_GE(each->height(), QFontMetrics(each->font()).height());
            EXPECT_LE(each->geometry().right() + 1, room.nextControl);
            EXPECT_LE(each->x() + whole.right() + 1 + leastGapBetweenTexts, room.nextControl);
            // A face wider than the layout's costs a pixel or two, never the text's legibility.
            EXPECT_LE(each->font().pixelSize(), room.layoutPixels);
            EXPECT_GE(each->font().pixelSize(), room.layoutPixels - 2);
        }
    });
}

TEST_F(LabelFitTest, AFaceWithTheLayoutsWidthsKeepsTheLayoutsSizes)
{
    if (!setHasLayoutWidths()) {
        GTEST_SKIP() << setFamily().toStdString() << " is wider than the layout's face";
    }
    inEveryState([this] {
        for (const LabelRoom& room : labelRooms) {
            EXPECT_EQ(label(room.label)->font().pixelSize(), room.layoutPixels)
                << ::testing::PrintToString(room.label);
        }
    });
}

TEST_F(LabelFitTest, NoTwoControlsOverlapAndAllLieInsideTheWindowInEveryState)
{
    inEveryState([this] {
        for (auto a = std::begin(form::controls); a != std::end(form::controls); ++a) {
            const QRect place = control(a->id)->geometry();
            EXPECT_TRUE(window.rect().contains(place)) << ::testing::PrintToString(a->id);
            for (auto b = a + 1; b != std::end(form::controls); ++b) {
                EXPECT_FALSE(place.intersects(control(b->id)->geometry()))
                    << ::testing::PrintToString(a->id) << " and "
                    << ::testing::PrintToString(b->id);
            }
        }
    });
}

} // namespace
} // namespace zarn::testing
