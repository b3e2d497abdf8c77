#include "form_fixture.h"
#include "synthetic_game.h"
#include "zarn/editor_state.h"

#include <QLineEdit>

namespace zarn::testing {
namespace {

class FormTransferTest : public FormTest
{
protected:
    void writeAlliedGeneral(std::size_t length = alliedGeneralLength)
    {
        writeFile("ag.exe", executableWith(length, alliedGeneralOffset, regionOf(standardLists())));
    }
};

TEST_F(FormTransferTest, ExportOfAlliedGeneralWritesTheSlotFileAndEndsWithSuccess)
{
    writeAlliedGeneral();
    click(label("Label4"));

    EXPECT_EQ(exitStatusAfter([this] { click(control("Command1")); }), 0);
    EXPECT_EQ(readFile("p_slots.txt"), slotFileOf(standardLists()));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FormTransferTest, ImportOfAnEditedSlotFileChangesTheTableAndEndsWithSuccess)
{
    writeAlliedGeneral();
    SlotLists edited = standardLists();
    edited[1][0] = 4242;
    writeFile("p_slots.txt", slotFileOf(edited));
    click(label("Label4"));

    EXPECT_EQ(exitStatusAfter([this] { click(control("Command3")); }), 0);
    EXPECT_EQ(readFile("ag.exe"),
              executableWith(alliedGeneralLength, alliedGeneralOffset, regionOf(edited)));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FormTransferTest, ExportOfAMissingExecutableSaysWhereAndTheProgramGoesOn)
{
    click(label("Label2"));
    EXPECT_EQ(exitStatusAfter([this] { click(control("Command1")); }), std::nullopt);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].rfind("Could not find ", 0), 0u) << messages.shown[0];
    EXPECT_NE(messages.shown[0].find("pg.exe\rMake sure it is in the zarn folder."),
              std::string::npos)
        << messages.shown[0];
}

TEST_F(FormTransferTest, RefusedTransfersEndWithFailure)
{
    writeAlliedGeneral(alliedGeneralLength - 1);
    click(label("Label4"));
    EXPECT_EQ(exitStatusAfter([this] { click(control("Command1")); }), 1);
    EXPECT_EQ(messages.shown, std::vector<std::string>{"AG.EXE is the wrong file length\r"
                                                       "Sorry this program only works with "
                                                       "ag.exe WITH autoscroll"});

    writeAlliedGeneral();
    SlotLists oneTooFew = standardLists();
    oneTooFew[1].pop_back();
    writeFile("p_slots.txt", slotFileOf(oneTooFew) + "\"Finland\"\r\n");
    messages.shown.clear();
    EXPECT_EQ(exitStatusAfter([this] { click(control("Command3")); }), 1);
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Error  !\rInput file contains  645 "
                                                       "entries.\rThere must be exactly 646 "
                                                       "unit entries !\rag.exe file NOT "
                                                       "modified."});
}

TEST_F(FormTransferTest, RunTimeErrorIsReportedAndEndsWithFailure)
{
    writeAlliedGeneral();
    click(label("Label4"));

    EXPECT_EQ(exitStatusAfter([this] { click(control("Command3")); }), 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].rfind("Run-time error\r", 0), 0u) << messages.shown[0];
    EXPECT_NE(messages.shown[0].find("p_slots.txt"), std::string::npos) << messages.shown[0];
}

TEST_F(FormTransferTest, TransferUsesTheAddressTypedIntoTheBox)
{
    writeAlliedGeneral();
    click(label("Label4"));
    auto* box = control<QLineEdit>("Text1");
    box->setFocus();
    box->end(false);
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, "6");
    ASSERT_EQ(window.editorState().SlotAddress, 1883346);

    EXPECT_EQ(exitStatusAfter([this] { click(control("Command1")); }), 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(folderPath() / "p_slots.txt"));
}

} // namespace
} // namespace zarn::testing
