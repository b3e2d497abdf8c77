#include "synthetic_game.h"
#include "window_fixture.h"
#include "zarn/form/texts.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>

namespace zarn::testing {
namespace {

using WindowEventsTest = WindowTest;

const QColor silver(192, 192, 192);

const ControlId links[] = {ControlId::PanzerGeneralLink, ControlId::AlliedGeneralLink,
                           ControlId::CreditsLink};

// A point of the window that no control covers.
const QPoint bareWindow(250, 100);

TEST_F(WindowEventsTest, EveryChangeOfTheAddressBoxSetsTheSlotAddress)
{
    auto* box = control<QLineEdit>(ControlId::AddressBox);
    box->clear();
    EXPECT_EQ(window.state().slotAddress, 0);

    struct Keystroke
    {
        const char* key;
        std::int32_t address;
    };
    for (const Keystroke& typed : {Keystroke{"4", 4}, Keystroke{"2", 42}, Keystroke{".", 42},
                                   Keystroke{"5", 42}, Keystroke{"x", 42}}) {
        QTest::keyClicks(box, typed.key);
        EXPECT_EQ(window.state().slotAddress, typed.address) << box->text().toStdString();
    }

    box->setText(QStringLiteral("12abc"));
    EXPECT_EQ(window.state().slotAddress, 12);
}

// An address that overflows: the box refuses the edit, and the text and the address stay as they
// were.
TEST_F(WindowEventsTest, AddressBoxRefusesKeystrokesAndPastesThatOverflow)
{
    auto* box = control<QLineEdit>(ControlId::AddressBox);
    box->setFocus();
    box->end(false);
    QTest::keyClicks(box, "0000");
    EXPECT_EQ(box->text(), " 1883345000");
    EXPECT_EQ(window.state().slotAddress, 1883345000);

    box->setText(QStringLiteral("2147483647"));
    for (const char* overflowing : {"99999999999", ".5", "0", "e3"}) {
        QApplication::clipboard()->setText(QString::fromLatin1(overflowing));
        box->end(false);
        QTest::keySequence(box, QKeySequence::Paste);
        EXPECT_EQ(box->text(), "2147483647") << overflowing;
        EXPECT_EQ(window.state().slotAddress, 2147483647) << overflowing;
    }

    box->setText(QStringLiteral("-2147483648"));
    box->home(false);
    QTest::keyClicks(box, "1");
    EXPECT_EQ(box->text(), "1-2147483648");
    EXPECT_EQ(window.state().slotAddress, 1);
    box->setText(QStringLiteral("-214748364"));
    box->end(false);
    QTest::keyClicks(box, "9");
    EXPECT_EQ(box->text(), "-214748364");
    EXPECT_EQ(window.state().slotAddress, -214748364);
}

TEST_F(WindowEventsTest, LinksTurnBoldUnderThePointerAndBackOverTheBareWindow)
{
    moveOver(&window, bareWindow);
    for (const ControlId link : links) {
        EXPECT_FALSE(label(link)->isBold()) << ::testing::PrintToString(link);
    }
    for (const ControlId link : links) {
        moveOver(label(link));
        EXPECT_TRUE(label(link)->isBold()) << ::testing::PrintToString(link);
    }
    moveOver(&window, bareWindow);
    for (const ControlId link : links) {
        EXPECT_FALSE(label(link)->isBold()) << ::testing::PrintToString(link);
    }
}

TEST_F(WindowEventsTest, MovesOverOtherControlsNeverReachTheWindow)
{
    for (const ControlId link : links) {
        moveOver(label(link));
    }
    for (const ControlId other :
         {ControlId::ExportButton, ControlId::QuitButton, ControlId::ImportButton,
          ControlId::HelpButton, ControlId::AddressBox, ControlId::AddressCaption,
          ControlId::OrCaption, ControlId::QuestionCaption, ControlId::FileNameCaption,
          ControlId::FileNameLabel}) {
        SCOPED_TRACE("after a move over " + ::testing::PrintToString(other));
        moveOver(control(other));
        moveOver(control(other), QPoint(1, 1));
        for (const ControlId link : links) {
            EXPECT_TRUE(label(link)->isBold()) << ::testing::PrintToString(link);
        }
    }
}

TEST_F(WindowEventsTest, QuitAndClosingTheWindowEndWithSuccess)
{
    EXPECT_EQ(exitStatusAfter([this] { click(control(ControlId::QuitButton)); }), 0);
    EXPECT_EQ(exitStatusAfter([this] { window.close(); }), 0);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(WindowEventsTest, ALabelClickIsAPressAndAReleaseOverTheSameLabel)
{
    struct Case
    {
        ControlId pressedOn;
        ControlId releasedOn;
        Game chosen;
    };
    const Case cases[] = {
        {ControlId::AlliedGeneralLink, ControlId::AlliedGeneralLink, Game::AlliedGeneral},
        {ControlId::PanzerGeneralLink, ControlId::FileNameCaption, Game::AlliedGeneral},
        {ControlId::FileNameCaption, ControlId::PanzerGeneralLink, Game::AlliedGeneral},
        {ControlId::PanzerGeneralLink, ControlId::PanzerGeneralLink, Game::PanzerGeneral},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.pressedOn) + " to " +
                     ::testing::PrintToString(c.releasedOn));
        QTest::mousePress(control(c.pressedOn), Qt::LeftButton);
        QTest::mouseRelease(control(c.releasedOn), Qt::LeftButton);
        EXPECT_EQ(window.state().chosenGame, c.chosen);
    }
    EXPECT_EQ(label(ControlId::FileNameLabel)->text(), "pg.exe");
    EXPECT_EQ(label(ControlId::FileNameLabel)->textColour(), silver);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(WindowEventsTest, ReturnAndEnterPressTheFocusedButton)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    control(ControlId::HelpButton)->setFocus();
    QTest::keyClick(control(ControlId::HelpButton), Qt::Key_Return);
    QTest::keyClick(control(ControlId::HelpButton), Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(control(ControlId::HelpButton), Qt::Key_Space);
    EXPECT_EQ(messages.shown, (std::vector<std::string>(3, form::texts::helpMessage)));
}

TEST_F(WindowEventsTest, AltPAAndCClickTheirLabelsWithoutChangingTheFocus)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(&window, Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(window.state().chosenGame, Game::AlliedGeneral);
    QTest::keyClick(&window, Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(window.state().chosenGame, Game::PanzerGeneral);
    QTest::keyClick(&window, Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(messages.shown, std::vector<std::string>{form::texts::creditsMessage});
    EXPECT_EQ(QApplication::focusWidget(), focus);
}

TEST_F(WindowEventsTest, ExportFromTheWindowWritesTheSlotFileAndEndsWithSuccess)
{
    writeFile("ag.exe",
              executableWith(alliedGeneralLength, alliedGeneralOffset, regionOf(standardLists())));
    click(label(ControlId::AlliedGeneralLink));

    EXPECT_EQ(exitStatusAfter([this] { click(control(ControlId::ExportButton)); }), 0);
    EXPECT_EQ(readFile("p_slots.txt"), slotFileOf(standardLists()));
    EXPECT_TRUE(messages.shown.empty());
}

} // namespace
} // namespace zarn::testing
