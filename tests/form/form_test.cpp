#include "recording_view.h"
#include "transfer_fixture.h"
#include "zarn/form/form.h"

#include <gtest/gtest.h>

namespace zarn::testing {
namespace {

using form::ControlId;
using Events = std::vector<std::string>;

const std::string selectGame = "Please select Panzer General or Allied General to edit.";

// A loaded form on a fresh program folder, with a view that records what it is told.
class FormTest : public TransferTest
{
protected:
    FormTest()
    {
        view.attach(form);
        form.start();
        view.events.clear();
    }

    RecordingView view;
    form::Form form{folder, view};
};

TEST(FormLoad, ShowsTheDefaultAddressAfterABlankAndNoGame)
{
    RecordingView view;
    form::Form form(std::filesystem::path("anywhere"), view);
    view.attach(form);
    form.start();
    EXPECT_EQ(view.events, (Events{"address text \" 1883345\"", "file name None Specified"}));
    EXPECT_EQ(form.state().slotAddress, 1883345);
    EXPECT_EQ(form.state().chosenGame, std::nullopt);
}

TEST_F(FormTest, EveryAddressTextSetsTheSlotAddressAndAnOverflowIsRefused)
{
    struct Case
    {
        const char* text;
        bool accepted;
        std::int32_t address;
    };
    // The rule itself is number_text_test.cpp's.
    const Case cases[] = {
        {"12abc", true, 12},
        {"21474836470", false, 12},
        {" 1883345.5", true, 1883346},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(form.acceptsAddressText(c.text), c.accepted);
        EXPECT_EQ(form.addressTextChanged(c.text), c.accepted);
        EXPECT_EQ(form.state().slotAddress, c.address);
    }
    EXPECT_EQ(view.events, Events{});
}

TEST_F(FormTest, ChoosingAGameShowsItsFileInTheGamesColour)
{
    struct Case
    {
        ControlId label;
        Game game;
        Events events;
    };
    const Case cases[] = {
        {ControlId::PanzerGeneralLink,
         Game::PanzerGeneral,
         {"regular Panzer General", "file name colour 192 192 192", "file name pg.exe"}},
        {ControlId::AlliedGeneralLink,
         Game::AlliedGeneral,
         {"regular Allied General", "file name colour 0 192 0", "file name ag.exe"}},
        {ControlId::PanzerGeneralLink,
         Game::PanzerGeneral,
         {"regular Panzer General", "file name colour 192 192 192", "file name pg.exe"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.events.back());
        view.events.clear();
        form.clicked(c.label);
        EXPECT_EQ(view.events, c.events);
        EXPECT_EQ(form.state().chosenGame, c.game);
        EXPECT_EQ(form.state().slotAddress, 1883345);
    }
}

TEST_F(FormTest, OnlyTheLinksTurnBoldUnderThePointer)
{
    const std::pair<ControlId, Events> cases[] = {
        {ControlId::PanzerGeneralLink, {"bold Panzer General"}},
        {ControlId::AlliedGeneralLink, {"bold Allied General"}},
        {ControlId::CreditsLink, {"bold Credits"}},
        {ControlId::AddressCaption, {}},
        {ControlId::OrCaption, {}},
        {ControlId::QuestionCaption, {}},
        {ControlId::FileNameCaption, {}},
        {ControlId::FileNameLabel, {}},
        {ControlId::AddressBox, {}},
        {ControlId::ExportButton, {}},
        {ControlId::QuitButton, {}},
        {ControlId::ImportButton, {}},
        {ControlId::HelpButton, {}},
    };
    for (const auto& [control, events] : cases) {
        SCOPED_TRACE(static_cast<int>(control));
        view.events.clear();
        form.pointerOver(control);
        EXPECT_EQ(view.events, events);
    }
}

TEST_F(FormTest, TheBareWindowTurnsEveryLinkRegularEveryTime)
{
    for (int time = 0; time < 2; ++time) {
        view.events.clear();
        form.pointerOverBareWindow();
        EXPECT_EQ(view.events,
                  (Events{"regular Panzer General", "regular Allied General", "regular Credits"}));
    }
}

TEST_F(FormTest, ClicksOnFixedCaptionsAndTheAddressBoxDoNothing)
{
    for (const ControlId control :
         {ControlId::AddressCaption, ControlId::OrCaption, ControlId::QuestionCaption,
          ControlId::FileNameCaption, ControlId::FileNameLabel, ControlId::AddressBox}) {
        form.clicked(control);
    }
    EXPECT_EQ(view.events, Events{});
    EXPECT_EQ(form.state().chosenGame, std::nullopt);
}

TEST_F(FormTest, CreditsAndHelpShowTheirTextsAndTheProgramGoesOn)
{
    form.pointerOver(ControlId::CreditsLink);
    form.clicked(ControlId::CreditsLink);
    form.clicked(ControlId::HelpButton);
    EXPECT_EQ(view.events, (Events{"bold Credits", "message", "message"}));
    EXPECT_EQ(view.messages, (Events{"Research, Data Collection,\r"
                                     "& Quality Control: Ilvo Pernak\r"
                                     "Programming: Darvel Quenby",
                                     " 'EXE -> TXT' Button:\r"
                                     " Reads the ag.exe file and writes the unit's available to "
                                     "purchase\r"
                                     "to a text file named p_slots.txt.  You can edit this file "
                                     "with notepad, \r"
                                     "or any text editor.  To add a unit you must delete a unit.\r"
                                     "There must always be 646 units including the -1 entries.\r"
                                     " (-1 means the end of the section.) \r"
                                     "\r"
                                     " 'TXT->EXE' Button:\r"
                                     "Copies the 646 unit entries from the p_slots.txt file \r"
                                     "back into the ag.exe file."}));
}

TEST_F(FormTest, QuitEndsWithSuccess)
{
    form.clicked(ControlId::QuitButton);
    EXPECT_EQ(view.events, Events{"end 0"});
}

TEST_F(FormTest, TransfersThatStopEarlyTellWhyAndTheProgramGoesOn)
{
    for (const ControlId transfer : {ControlId::ExportButton, ControlId::ImportButton}) {
        form.clicked(transfer);
    }
    form.clicked(ControlId::PanzerGeneralLink);
    view.events.clear();
    form.clicked(ControlId::ExportButton);

    EXPECT_EQ(view.events, Events{"message"});
    ASSERT_EQ(view.messages.size(), 3u);
    EXPECT_EQ(view.messages[0], selectGame);
    EXPECT_EQ(view.messages[1], selectGame);
    EXPECT_EQ(view.messages[2].rfind("Could not find ", 0), 0u) << view.messages[2];
    EXPECT_EQ(fileNames(), Events{});
}

TEST_F(FormTest, TransfersEndTheProgramWithTheirOutcome)
{
    const std::string standard =
        executableWith(alliedGeneralLength, alliedGeneralOffset, regionOf(standardLists()));
    const std::string tooShort =
        executableWith(alliedGeneralLength - 1, alliedGeneralOffset, regionOf(standardLists()));
    struct Case
    {
        const char* name;
        std::string executable;
        std::string slotFile; // none where empty
        ControlId button;
        Events messages;
        int exitStatus;
        const char* checkedFile;
        std::string contents;
    };
    const Case cases[] = {
        {"export",
         standard,
         "",
         ControlId::ExportButton,
         {},
         0,
         "p_slots.txt",
         slotFileOf(standardLists())},
        {"import",
         standard,
         slotFileOf(editedLists()),
         ControlId::ImportButton,
         {},
         0,
         "ag.exe",
         executableWith(alliedGeneralLength, alliedGeneralOffset, regionOf(editedLists()))},
        // The slot file's rules are the core's; the window shows their refusal and ends.
        {"import of a slot file that is refused",
         standard,
         "\r\n" + slotFileOf(editedLists()),
         ControlId::ImportButton,
         {"Error  !\rInput file contains  645 entries.\rThere must be exactly 646 unit entries "
          "!\rag.exe file NOT modified."},
         1,
         "ag.exe",
         standard},
        {"export of a wrong length",
         tooShort,
         "",
         ControlId::ExportButton,
         {"AG.EXE is the wrong file length\rSorry this program only works with ag.exe WITH "
          "autoscroll"},
         1,
         "ag.exe",
         tooShort},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        useNewFolder();
        RecordingView caseView;
        form::Form caseForm(folder, caseView);
        writeFile("ag.exe", c.executable);
        if (!c.slotFile.empty()) {
            writeFile("p_slots.txt", c.slotFile);
        }
        caseForm.clicked(ControlId::AlliedGeneralLink);
        caseView.events.clear();
        caseForm.clicked(c.button);
        EXPECT_EQ(caseView.messages, c.messages);
        ASSERT_FALSE(caseView.events.empty());
        EXPECT_EQ(caseView.events.back(), "end " + std::to_string(c.exitStatus));
        EXPECT_EQ(readFile(c.checkedFile), c.contents);
    }
}

TEST_F(FormTest, ARunTimeErrorIsReportedAndEndsWithFailure)
{
    writeAlliedGeneral();
    form.clicked(ControlId::AlliedGeneralLink);
    view.events.clear();
    form.clicked(ControlId::ImportButton);

    EXPECT_EQ(view.events, (Events{"message", "end 1"}));
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].rfind("Run-time error\r", 0), 0u) << view.messages[0];
    EXPECT_NE(view.messages[0].find("p_slots.txt"), std::string::npos) << view.messages[0];
}

} // namespace
} // namespace zarn::testing
