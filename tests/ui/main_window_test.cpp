#include "picture_button.h"
#include "pictures.h"
#include "window_fixture.h"
#include "zarn/form/accessibility.h"
#include "zarn/form/layout.h"

#include <QAccessible>
#include <QFontInfo>
#include <QImage>
#include <QLineEdit>
#include <QStyleOptionButton>
#include <array>
#include <map>
#include <set>

namespace zarn::testing {
namespace {

using form::ControlKind;

using MainWindowTest = WindowTest;

QColor toQColor(form::Rgb colour)
{
    return QColor(colour.red, colour.green, colour.blue);
}

QString textOf(QWidget* widget)
{
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text();
    }
    if (auto* box = qobject_cast<QLineEdit*>(widget)) {
        return box->text();
    }
    return qobject_cast<QAbstractButton*>(widget)->text();
}

TEST_F(MainWindowTest, WindowHasItsCaptionSizeIconAndBlackBackground)
{
    EXPECT_EQ(window.windowTitle(), "Darvel's Zarn Editor 1.0");
    EXPECT_EQ(window.size(), QSize(258, 341));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowIcon().isNull());
    const QImage shot = window.grab().toImage();
    for (const QPoint bare : {QPoint(0, 0), QPoint(257, 340), QPoint(250, 100), QPoint(20, 200)}) {
        EXPECT_EQ(shot.pixelColor(bare), QColor(Qt::black)) << bare.x() << "," << bare.y();
    }
}

TEST_F(MainWindowTest, ControlsStandWhereTheLayoutPutsThemWithTheirFontsAndColours)
{
    for (const form::Control& expected : form::controls) {
        SCOPED_TRACE(::testing::PrintToString(expected.id));
        QWidget* widget = control(expected.id);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->pos(), QPoint(expected.left, expected.top));

        switch (expected.kind) {
        case ControlKind::Label: {
            auto* asLabel = qobject_cast<Label*>(widget);
            ASSERT_NE(asLabel, nullptr);
            EXPECT_EQ(widget->size(), widget->sizeHint());
            EXPECT_EQ(asLabel->textColour(), toQColor(*expected.textColour));
            EXPECT_FALSE(widget->autoFillBackground());
            EXPECT_EQ(widget->focusPolicy(), Qt::NoFocus);
            break;
        }
        case ControlKind::TextBox:
            EXPECT_NE(qobject_cast<QLineEdit*>(widget), nullptr);
            EXPECT_EQ(widget->size(), QSize(expected.width, expected.height));
            break;
        case ControlKind::PictureButton:
            EXPECT_NE(qobject_cast<PictureButton*>(widget), nullptr);
            EXPECT_EQ(widget->size(), QSize(expected.width, expected.height));
            break;
        }

        // 8.25 and 9.75 point at 96 dots per inch, in pixels that grow with the window.
        const QFont font = widget->font();
        EXPECT_EQ(font.pixelSize(), expected.font == form::FontSize::Large ? 13 : 11);
        EXPECT_EQ(font.bold(), expected.bold);
        EXPECT_TRUE(
            std::set<QString>({"MS Sans Serif", "Liberation Sans"}).count(QFontInfo(font).family()))
            << QFontInfo(font).family().toStdString();

        // The file name and the address box show what the form put there as it started; the rest
        // their creation text.
        const QString loaded =
            expected.id == ControlId::FileNameLabel ? QStringLiteral("None Specified")
            : expected.id == ControlId::AddressBox  ? QStringLiteral(" 1883345")
                                                    : QString::fromUtf8(expected.text.data());
        EXPECT_EQ(textOf(widget), loaded);
    }
}

TEST_F(MainWindowTest, FocusStartsOnTheExportButtonAndTabVisitsButtonsThenTheAddressBox)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(QApplication::focusWidget(), control(ControlId::ExportButton));
    for (const ControlId next :
         {ControlId::QuitButton, ControlId::ImportButton, ControlId::HelpButton,
          ControlId::AddressBox, ControlId::ExportButton}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), control(next)) << ::testing::PrintToString(next);
    }
}

TEST_F(MainWindowTest, OnlyTheCreditsLinkHasAToolTip)
{
    for (const form::Control& each : form::controls) {
        const QString expected =
            each.id == ControlId::CreditsLink ? "Click for Program Credits" : "";
        EXPECT_EQ(control(each.id)->toolTip(), expected) << ::testing::PrintToString(each.id);
    }
}

TEST_F(MainWindowTest, ButtonsLinksAndTheAddressBoxCarryAccessibleNamesDescriptionsAndRoles)
{
    for (const form::AccessibleText& expected : form::accessibleTexts) {
        const form::Control& layout = form::control(expected.id);
        SCOPED_TRACE(std::string(expected.name));
        QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(control(layout.id));
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->text(QAccessible::Name), QString::fromUtf8(expected.name.data()));
        EXPECT_EQ(accessible->text(QAccessible::Description),
                  QString::fromUtf8(expected.description.data()));
        const std::map<ControlKind, QAccessible::Role> roles = {
            {ControlKind::Label, QAccessible::Link},
            {ControlKind::PictureButton, QAccessible::Button},
            {ControlKind::TextBox, QAccessible::EditableText},
        };
        EXPECT_EQ(accessible->role(), roles.at(layout.kind));
    }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(control(ControlId::AddressBox))
                  ->text(QAccessible::Name),
              "Default Purchase Slot Address");
    QAccessibleInterface* caption =
        QAccessible::queryAccessibleInterface(control(ControlId::QuestionCaption));
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->role(), QAccessible::StaticText);
}

TEST_F(MainWindowTest, PressingALinkThroughAssistiveTechnologyClicksIt)
{
    QAccessibleInterface* accessible =
        QAccessible::queryAccessibleInterface(control(ControlId::AlliedGeneralLink));
    ASSERT_NE(accessible, nullptr);
    ASSERT_NE(accessible->actionInterface(), nullptr);
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(window.state().chosenGame, Game::AlliedGeneral);
}

TEST_F(MainWindowTest, LabelsRefitToTheirTextKeepingLeftAndTop)
{
    Label* fileName = label(ControlId::FileNameLabel);
    const int regularWidth = fileName->width();
    fileName->setCaption(QStringLiteral("a much longer file name.exe"));
    EXPECT_EQ(fileName->pos(), QPoint(96, 240));
    EXPECT_GT(fileName->width(), regularWidth);
    EXPECT_GE(fileName->width(), fileName->fontMetrics().horizontalAdvance(fileName->text()));

    Label* panzerGeneral = label(ControlId::PanzerGeneralLink);
    const QRect orBefore = label(ControlId::OrCaption)->geometry();
    const int boldWidth = panzerGeneral->width();
    panzerGeneral->setBold(false);
    EXPECT_LT(panzerGeneral->width(), boldWidth);
    EXPECT_EQ(panzerGeneral->pos(), QPoint(8, 32));
    EXPECT_EQ(label(ControlId::OrCaption)->geometry(), orBefore);

    for (const ControlId link : {ControlId::AlliedGeneralLink, ControlId::CreditsLink}) {
        SCOPED_TRACE(::testing::PrintToString(link));
        Label* each = label(link);
        const QRect regular = each->geometry();
        each->setBold(true);
        EXPECT_EQ(each->pos(), regular.topLeft());
        EXPECT_GT(each->width(), regular.width());
        EXPECT_EQ(each->size(), each->sizeHint());
    }
}

TEST(Pictures, AllFiveAre60By60AndNoOtherIsCompiledIn)
{
    for (const char* name : {"tank", "exe_txt", "txt_exe", "quit", "help"}) {
        EXPECT_EQ(picture(name).size(), QSize(60, 60)) << name;
    }
    EXPECT_THROW(picture("exe"), std::runtime_error);
}

TEST(Pictures, ShowTheirXpmSourcesAsQtsOwnReaderReadsThem)
{
    for (const char* name : {"tank", "exe_txt", "txt_exe", "quit", "help"}) {
        SCOPED_TRACE(name);
        const QImage qts(QStringLiteral(ZARN_PICTURE_SOURCES "/%1.xpm").arg(name), "xpm");
        ASSERT_FALSE(qts.isNull());
        EXPECT_EQ(picture(name).toImage().convertToFormat(QImage::Format_ARGB32),
                  qts.convertToFormat(QImage::Format_ARGB32));
    }
}

// Whether `rows` of `shown` hold the picture enlarged `factor` times, pixel for pixel, at some
// place: the picture is centred, so where exactly is left to the search.
bool showsPictureAtFactor(const QImage& shown, const QRect& rows, const QImage& picture, int factor)
{
    const int size = picture.width() * factor;
    for (int top = rows.top() - size; top <= rows.top(); ++top) {
        for (int left = rows.left() - size; left <= rows.left(); ++left) {
            bool matches = true;
            for (int y = rows.top(); matches && y <= rows.bottom(); ++y) {
                for (int x = rows.left(); matches && x <= rows.right(); ++x) {
                    const int u = (x - left) / factor;
                    const int v = (y - top) / factor;
                    matches = x >= left && y >= top && u < picture.width() &&
                              v < picture.height() && shown.pixel(x, y) == picture.pixel(u, v);
                }
            }
            if (matches) {
                return true;
            }
        }
    }
    return false;
}

TEST(Pictures, GrowByWholeScreenPixelsAtAnyScale)
{
    struct Case
    {
        qreal scale;
        int factor;
    };
    for (const Case c : {Case{1, 1}, Case{1.25, 1}, Case{1.5, 1}, Case{2, 2}, Case{2.5, 2}}) {
        for (const char* name : {"exe_txt", "txt_exe", "quit", "help"}) {
            SCOPED_TRACE(std::string(name) + " at " + std::to_string(c.scale));
            const QPixmap original = picture(name);
            PictureButton button(original, name == std::string("quit") ? "Quit" : "", nullptr);
            button.resize(60, 55);
            QImage shown((QSizeF(button.size()) * c.scale).toSize(), QImage::Format_RGB32);
            shown.setDevicePixelRatio(c.scale);
            button.render(&shown);

            QStyleOptionButton option;
            option.initFrom(&button);
            const QRect face =
                button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
            // The rows of lettering in the middle of the face show the picture alone, across
            // the face or the picture, whichever is narrower, a pixel in from their edges.
            const QRectF faceRows(face.left() * c.scale, (face.top() + 12) * c.scale,
                                  face.width() * c.scale, 16 * c.scale);
            QRectF band(0, 0, std::min(faceRows.width(), 60.0 * c.factor), faceRows.height());
            band.moveCenter(faceRows.center());
            const QRect lettering = band.toAlignedRect().adjusted(2, 0, -2, 0);
            EXPECT_TRUE(showsPictureAtFactor(
                shown, lettering, original.toImage().convertToFormat(QImage::Format_RGB32),
                c.factor));
        }
    }
}

TEST(Pictures, WindowIconGrowsByWholeMultiples)
{
    const QIcon icon = QApplication::windowIcon();
    const QImage original = picture("tank").toImage();
    const QImage tripled = icon.pixmap(180, 180).toImage();
    ASSERT_EQ(tripled.size(), QSize(180, 180));
    for (int y = 0; y < 180; ++y) {
        for (int x = 0; x < 180; ++x) {
            ASSERT_EQ(tripled.pixel(x, y), original.pixel(x / 3, y / 3)) << x << "," << y;
        }
    }
}

} // namespace
} // namespace zarn::testing
