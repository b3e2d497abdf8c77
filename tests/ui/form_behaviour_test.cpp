#include "form_fixture.h"
#include "zarn/form/messages.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>

namespace zarn::testing {
namespace {

using FormBehaviourTest = FormTest;

const QColor white(255, 255, 255);
const QColor silver(192, 192, 192);
const QColor green(0, 192, 0);

// A point of the window that no control covers.
const QPoint bareWindow(250, 100);

TEST_F(FormBehaviourTest, LoadShowsTheDefaultAddressAndNoGame)
{
    EXPECT_EQ(control<QLineEdit>("Text1")->text(), " 1883345");
    EXPECT_EQ(window.editorState().SlotAddress, 1883345);
    EXPECT_EQ(window.editorState().TargetFile, "None Specified");
    EXPECT_EQ(window.editorState().TargetValid, 0);
    EXPECT_EQ(label("Label7")->text(), "None Specified");
    EXPECT_EQ(label("Label7")->textColour(), white);
    EXPECT_TRUE(label("Label2")->isBold());
    EXPECT_FALSE(label("Label4")->isBold());
    EXPECT_FALSE(label("Label8")->isBold());
}

TEST_F(FormBehaviourTest, EveryChangeOfTheAddressBoxSetsTheSlotAddress)
{
    auto* box = control<QLineEdit>("Text1");
    box->clear();
    EXPECT_EQ(window.editorState().SlotAddress, 0);

    struct Keystroke
    {
        const char* key;
        std::int32_t address;
    };
    for (const Keystroke& typed : {Keystroke{"4", 4}, Keystroke{"2", 42}, Keystroke{".", 42},
                                   Keystroke{"5", 42}, Keystroke{"x", 42}}) {
        QTest::keyClicks(box, typed.key);
        EXPECT_EQ(window.editorState().SlotAddress, typed.address) << box->text().toStdString();
    }

    struct Text
    {
        const char* text;
        std::int32_t address;
    };
    for (const Text& set : {Text{"letters", 0}, Text{"12abc", 12}, Text{" 1883345.5", 1883346},
                            Text{"1883344.5", 1883344}, Text{"-7", -7}, Text{"&H10", 16}}) {
        box->setText(QString::fromLatin1(set.text));
        EXPECT_EQ(window.editorState().SlotAddress, set.address) << set.text;
    }
}

// Mend for an address that overflows: the box refuses the edit, and the text and the address
// stay as they were.
TEST_F(FormBehaviourTest, AddressBoxRefusesKeystrokesAndPastesThatOverflow)
{
    auto* box = control<QLineEdit>("Text1");
    box->setFocus();
    box->end(false);
    QTest::keyClicks(box, "0000");
    EXPECT_EQ(box->text(), " 1883345000");
    EXPECT_EQ(window.editorState().SlotAddress, 1883345000);

    box->setText(QStringLiteral("2147483647"));
    for (const char* overflowing : {"99999999999", ".5", "0", "e3"}) {
        QApplication::clipboard()->setText(QString::fromLatin1(overflowing));
        box->end(false);
        QTest::keySequence(box, QKeySequence::Paste);
        EXPECT_EQ(box->text(), "2147483647") << overflowing;
        EXPECT_EQ(window.editorState().SlotAddress, 2147483647) << overflowing;
    }

    box->setText(QStringLiteral("-2147483648"));
    box->home(false);
    QTest::keyClicks(box, "1");
    EXPECT_EQ(box->text(), "1-2147483648");
    EXPECT_EQ(window.editorState().SlotAddress, 1);
    box->setText(QStringLiteral("-214748364"));
    box->end(false);
    QTest::keyClicks(box, "9");
    EXPECT_EQ(box->text(), "-214748364");
    EXPECT_EQ(window.editorState().SlotAddress, -214748364);
}

TEST_F(FormBehaviourTest, ChoosingAGameShowsItsFileInTheGamesColour)
{
    click(label("Label2"));
    EXPECT_EQ(window.editorState().TargetFile, "pg.exe");
    EXPECT_EQ(label("Label7")->text(), "pg.exe");
    EXPECT_EQ(label("Label7")->textColour(), silver);
    EXPECT_FALSE(label("Label2")->isBold());

    click(label("Label4"));
    EXPECT_EQ(window.editorState().TargetFile, "ag.exe");
    EXPECT_EQ(label("Label7")->text(), "ag.exe");
    EXPECT_EQ(label("Label7")->textColour(), green);
    EXPECT_FALSE(label("Label4")->isBold());
    EXPECT_EQ(window.editorState().SlotAddress, 1883345);
    EXPECT_EQ(window.editorState().TargetValid, 0);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FormBehaviourTest, LinksTurnBoldUnderThePointerAndBackOverTheBareWindow)
{
    moveOver(&window, bareWindow);
    for (const char* link : {"Label2", "Label4", "Label8"}) {
        EXPECT_FALSE(label(link)->isBold()) << link;
    }
    for (const char* link : {"Label2", "Label4", "Label8"}) {
        moveOver(label(link));
        EXPECT_TRUE(label(link)->isBold()) << link;
    }
    moveOver(&window, bareWindow);
    for (const char* link : {"Label2", "Label4", "Label8"}) {
        EXPECT_FALSE(label(link)->isBold()) << link;
    }
}

TEST_F(FormBehaviourTest, MovesOverOtherControlsNeverReachTheWindow)
{
    for (const char* link : {"Label2", "Label4", "Label8"}) {
        moveOver(label(link));
    }
    for (const char* other : {"Command1", "Command2", "Command3", "Command4", "Text1", "Label1",
                              "Label3", "Label5", "Label6", "Label7"}) {
        moveOver(control(other));
        moveOver(control(other), QPoint(1, 1));
        for (const char* link : {"Label2", "Label4", "Label8"}) {
            EXPECT_TRUE(label(link)->isBold()) << link << " after a move over " << other;
        }
    }
}

TEST_F(FormBehaviourTest, CreditsAndHelpShowTheirMessagesAndTheProgramGoesOn)
{
    moveOver(label("Label8"));
    EXPECT_EQ(exitStatusAfter([this] { click(label("Label8")); }), std::nullopt);
    EXPECT_TRUE(label("Label8")->isBold());
    EXPECT_EQ(exitStatusAfter([this] { click(control("Command4")); }), std::nullopt);
    EXPECT_EQ(messages.shown, (std::vector<std::string>{creditsMessage, helpMessage}));
}

TEST_F(FormBehaviourTest, QuitAndClosingTheWindowEndWithSuccess)
{
    EXPECT_EQ(exitStatusAfter([this] { click(control("Command2")); }), 0);
    EXPECT_EQ(exitStatusAfter([this] { window.close(); }), 0);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FormBehaviourTest, TransfersWithoutAGameAskForOneAndTheProgramGoesOn)
{
    for (const char* transfer : {"Command1", "Command3"}) {
        messages.shown.clear();
        EXPECT_EQ(exitStatusAfter([&] { click(control(transfer)); }), std::nullopt);
        EXPECT_EQ(messages.shown, std::vector<std::string>{
                                      "Please select Panzer General or Allied General to edit."});
    }
}

} // namespace
} // namespace zarn::testing
