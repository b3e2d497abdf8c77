#include "label_rooms.h"
#include "main_window.h"
#include "transfer_fixture.h"
#include "window_text.h"
#include "zarn/form/accessibility.h"
#include "zarn/form/layout.h"
#include "zarn/form/texts.h"
#include "zarn/utf8_path.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleacc.h>
#include <optional>
#include <string>
#include <vector>
#include <windows.h>

namespace zarn::testing {
namespace {

using win32::windowText;

using form::ControlId;

const ControlId links[] = {ControlId::PanzerGeneralLink, ControlId::AlliedGeneralLink,
                           ControlId::CreditsLink};

// Handles whatever the window system has queued for a while, as the message loop would.
void settle(win32::MainWindow* window)
{
    for (int round = 0; round < 20; ++round) {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (window != nullptr && window->handleKeyboard(message)) {
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    }
}

void sendKey(WORD key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

void sendMouse(DWORD flags, POINT at = {})
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    input.mi.dx = MulDiv(at.x, 65536, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = MulDiv(at.y, 65536, GetSystemMetrics(SM_CYSCREEN));
    SendInput(1, &input, sizeof input);
}

VARIANT self()
{
    VARIANT child{};
    child.vt = VT_I4;
    child.lVal = CHILDID_SELF;
    return child;
}

std::wstring taken(BSTR text)
{
    std::wstring copy = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return copy;
}

// Calls `use` with the control's accessible object, got the way a screen reader gets it.
template <typename Use>
void withAccessibleObject(HWND control, Use use)
{
    IAccessible* object = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&object)),
              S_OK);
    use(*object);
    object->Release();
}

// What a screen reader learns of a control.
struct Announced
{
    long role = 0;
    std::wstring name;
    std::wstring description;
    std::wstring defaultAction;
    std::wstring value;
    RECT place{};
    HWND window = nullptr;
};

Announced announcedBy(HWND control)
{
    Announced announced;
    withAccessibleObject(control, [&announced](IAccessible& object) {
        VARIANT role{};
        EXPECT_EQ(object.get_accRole(self(), &role), S_OK);
        announced.role = role.vt == VT_I4 ? role.lVal : 0;
        BSTR text = nullptr;
        object.get_accName(self(), &text);
        announced.name = taken(text);
        text = nullptr;
        object.get_accDescription(self(), &text);
        announced.description = taken(text);
        text = nullptr;
        object.get_accDefaultAction(self(), &text);
        announced.defaultAction = taken(text);
        text = nullptr;
        object.get_accValue(self(), &text);
        announced.value = taken(text);
        LONG left = 0, top = 0, width = 0, height = 0;
        EXPECT_EQ(object.accLocation(&left, &top, &width, &height, self()), S_OK);
        announced.place = {left, top, left + width, top + height};
        EXPECT_EQ(WindowFromAccessibleObject(&object, &announced.window), S_OK);
    });
    return announced;
}

// A window test runs the real window on an X display, with the mouse driven through the window
// system, and records its messages instead of showing them.
class MainWindowTest : public TransferTest
{
protected:
    MainWindowTest()
    {
        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        // Out of the way, so that the window does not open under the pointer.
        sendMouse(0, {GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
        settle(nullptr);
        window.emplace(folder, messages);
        window->show(SW_SHOWNORMAL);
        settle(&*window);
    }

    HWND control(ControlId id) const { return window->control(id); }

    // The control's rectangle in the window's client area.
    RECT placeOf(ControlId id) const
    {
        RECT place{};
        GetWindowRect(control(id), &place);
        MapWindowPoints(HWND_DESKTOP, window->handle(), reinterpret_cast<POINT*>(&place), 2);
        return place;
    }

    POINT onScreen(POINT clientPoint) const
    {
        ClientToScreen(window->handle(), &clientPoint);
        return clientPoint;
    }

    POINT centreOf(ControlId id) const
    {
        const RECT place = placeOf(id);
        return onScreen({(place.left + place.right) / 2, (place.top + place.bottom) / 2});
    }

    void moveTo(POINT screenPoint)
    {
        sendMouse(0, screenPoint);
        settle(&*window);
    }

    void moveOver(ControlId id) { moveTo(centreOf(id)); }
    // A point of the bare window, left of the export button.
    void moveOverBareWindow() { moveTo(onScreen({20, 100})); }

    void click(ControlId id) { pressAndRelease(id, id); }

    void pressAndRelease(ControlId pressedOn, ControlId releasedOn)
    {
        moveOver(pressedOn);
        sendMouse(MOUSEEVENTF_LEFTDOWN, centreOf(pressedOn));
        settle(&*window);
        moveOver(releasedOn);
        sendMouse(MOUSEEVENTF_LEFTUP, centreOf(releasedOn));
        settle(&*window);
    }

    // Presses the keys one after the other and releases them in the opposite order.
    void pressKeys(std::initializer_list<WORD> keys)
    {
        for (const WORD key : keys) {
            sendKey(key, false);
        }
        for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
            sendKey(*key, true);
        }
        settle(&*window);
    }

    LOGFONTW fontOf(ControlId id) const
    {
        const auto font = reinterpret_cast<HFONT>(SendMessageW(control(id), WM_GETFONT, 0, 0));
        LOGFONTW description{};
        GetObjectW(font, sizeof description, &description);
        return description;
    }

    bool isBold(ControlId id) const { return fontOf(id).lfWeight >= FW_BOLD; }

    COLORREF textColourOf(ControlId id) const
    {
        const HDC dc = GetDC(control(id));
        SendMessageW(window->handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(control(id)));
        const COLORREF colour = GetTextColor(dc);
        ReleaseDC(control(id), dc);
        return colour;
    }

    void typeInto(ControlId id, const std::wstring& keys)
    {
        for (const wchar_t key : keys) {
            SendMessageW(control(id), WM_CHAR, key, 0);
        }
    }

    std::optional<win32::MainWindow> window;
};

TEST_F(MainWindowTest, StandsAsLaidOut)
{
    EXPECT_EQ(windowText(window->handle()), L"Darvel's Zarn Editor 1.0");
    RECT client{};
    GetClientRect(window->handle(), &client);
    EXPECT_EQ(client.right, 258);
    EXPECT_EQ(client.bottom, 341);
    EXPECT_NE(GetClassLongPtrW(window->handle(), GCLP_HICON), 0);

    for (const form::Control& layout : form::controls) {
        SCOPED_TRACE(::testing::PrintToString(layout.id));
        const RECT place = placeOf(layout.id);
        EXPECT_EQ(place.left, layout.left);
        EXPECT_EQ(place.top, layout.top);
        if (layout.kind != form::ControlKind::Label) {
            EXPECT_EQ(place.right - place.left, layout.width);
            EXPECT_EQ(place.bottom - place.top, layout.height);
        } else if (layout.id !=
                   ControlId::FileNameLabel) { // which the form has changed as it started
            // Labels fit themselves to their text in the font at hand, which is "MS Sans Serif"
            // on Windows and a close substitute under Wine.
            EXPECT_NEAR(place.right - place.left, layout.width, layout.width / 5);
            EXPECT_NEAR(place.bottom - place.top, layout.height, 2);
        }
        const LOGFONTW font = fontOf(layout.id);
        EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
        // 8.25 and 9.75 point at 96 dots per inch.
        EXPECT_EQ(font.lfHeight, layout.font == form::FontSize::Large ? -13 : -11);
        EXPECT_EQ(isBold(layout.id), layout.bold);
        if (!layout.picture.empty()) {
            EXPECT_NE(FindResourceW(nullptr, utf16FromUtf8(layout.picture).c_str(), RT_BITMAP),
                      nullptr);
        }
    }
}

TEST_F(MainWindowTest, FocusStartsOnTheExportButtonAndTabVisitsTheButtonsAndTheAddressBoxOnly)
{
    EXPECT_EQ(GetFocus(), control(ControlId::ExportButton));
    std::vector<HWND> visited;
    HWND focus = control(ControlId::ExportButton);
    for (int i = 0; i < 5; ++i) {
        focus = GetNextDlgTabItem(window->handle(), focus, FALSE);
        visited.push_back(focus);
    }
    EXPECT_EQ(visited,
              (std::vector<HWND>{control(ControlId::QuitButton), control(ControlId::ImportButton),
                                 control(ControlId::HelpButton), control(ControlId::AddressBox),
                                 control(ControlId::ExportButton)}));
}

TEST_F(MainWindowTest, OnlyTheCreditsLinkHasATooltip)
{
    const HWND tooltip = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
    ASSERT_NE(tooltip, nullptr);
    ASSERT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
    wchar_t text[80] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.lpszText = text;
    ASSERT_TRUE(SendMessageW(tooltip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(reinterpret_cast<HWND>(tool.uId), control(ControlId::CreditsLink));
    EXPECT_STREQ(text, L"Click for Program Credits");
}

TEST_F(MainWindowTest, ScreenReadersLearnWhatEachButtonLinkAndTheAddressBoxIsAndDoes)
{
    struct Case
    {
        ControlId control;
        long role;
        const wchar_t* name;
        const wchar_t* description;
        const wchar_t* action;
    };
    // clang-format off
    const Case cases[] = {
        {ControlId::ExportButton, ROLE_SYSTEM_PUSHBUTTON, L"EXE -> TXT",
         L"Copies the purchase-slot table of the chosen game executable into p_slots.txt", L"Press"},
        {ControlId::QuitButton, ROLE_SYSTEM_PUSHBUTTON, L"Quit", L"Ends zarn", L"Press"},
        {ControlId::ImportButton, ROLE_SYSTEM_PUSHBUTTON, L"TXT->EXE",
         L"Writes the purchase-slot table in p_slots.txt back into the chosen game executable", L"Press"},
        {ControlId::HelpButton, ROLE_SYSTEM_PUSHBUTTON, L"Help", L"Explains the two transfer buttons", L"Press"},
        {ControlId::PanzerGeneralLink, ROLE_SYSTEM_LINK, L"Panzer General", L"Chooses pg.exe to edit (Alt+P)", L"Jump"},
        {ControlId::AlliedGeneralLink, ROLE_SYSTEM_LINK, L"Allied General", L"Chooses ag.exe to edit (Alt+A)", L"Jump"},
        {ControlId::CreditsLink, ROLE_SYSTEM_LINK, L"Credits", L"Shows the program credits (Alt+C)", L"Jump"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.control));
        const Announced announced = announcedBy(control(c.control));
        EXPECT_EQ(announced.role, c.role);
        EXPECT_EQ(announced.name, c.name);
        EXPECT_EQ(windowText(control(c.control)), c.name);
        EXPECT_EQ(announced.description, c.description);
        EXPECT_EQ(announced.defaultAction, c.action);
        // Windows still answers for the rest: where the control is and which window it is.
        RECT place{};
        GetWindowRect(control(c.control), &place);
        EXPECT_TRUE(EqualRect(&announced.place, &place));
        EXPECT_EQ(announced.window, control(c.control));
    }
    // The address box is named after its caption; its value stays Windows' answer.
    const Announced box = announcedBy(control(ControlId::AddressBox));
    EXPECT_EQ(box.role, ROLE_SYSTEM_TEXT);
    EXPECT_EQ(box.name, L"Default Purchase Slot Address");
    EXPECT_EQ(box.description,
              L"The byte position of the purchase-slot table in the game executable, counted "
              L"from 1");
    EXPECT_EQ(box.value, L" 1883345");
    EXPECT_EQ(box.defaultAction, L"");
    for (const ControlId other :
         {ControlId::AddressCaption, ControlId::OrCaption, ControlId::QuestionCaption,
          ControlId::FileNameCaption, ControlId::FileNameLabel}) {
        SCOPED_TRACE(::testing::PrintToString(other));
        const Announced announced = announcedBy(control(other));
        EXPECT_NE(announced.role, ROLE_SYSTEM_LINK);
        EXPECT_EQ(announced.description, L"");
        EXPECT_EQ(announced.defaultAction, L"");
    }
}

TEST_F(MainWindowTest, AScreenReaderFollowsALinkOrPressesAButtonAsAClickWould)
{
    struct Case
    {
        ControlId control;
        const wchar_t* fileName;
        std::size_t messagesShown;
    };
    const Case cases[] = {
        {ControlId::AlliedGeneralLink, L"ag.exe", 0},
        {ControlId::PanzerGeneralLink, L"pg.exe", 0},
        {ControlId::CreditsLink, L"pg.exe", 1},
        {ControlId::HelpButton, L"pg.exe", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.control));
        const std::size_t shownBefore = messages.shown.size();
        withAccessibleObject(control(c.control), [](IAccessible& object) {
            EXPECT_EQ(object.accDoDefaultAction(self()), S_OK);
        });
        // The request returns before the action, which may show a message, has run.
        EXPECT_EQ(messages.shown.size(), shownBefore);
        settle(&*window);
        EXPECT_EQ(windowText(control(ControlId::FileNameLabel)), c.fileName);
        EXPECT_EQ(messages.shown.size(), c.messagesShown);
    }
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].rfind("Research, Data Collection,\r", 0), 0u);
    EXPECT_EQ(messages.shown[1].rfind(" 'EXE -> TXT' Button:\r", 0), 0u);
}

TEST_F(MainWindowTest, HoverTurnsLinksBoldUntilTheBareWindowAndTheyRefitInPlace)
{
    const RECT boldPanzer = placeOf(ControlId::PanzerGeneralLink);
    const RECT regularAllied = placeOf(ControlId::AlliedGeneralLink);
    moveOverBareWindow();
    EXPECT_FALSE(isBold(ControlId::PanzerGeneralLink));
    const RECT regularPanzer = placeOf(ControlId::PanzerGeneralLink);
    EXPECT_EQ(regularPanzer.left, boldPanzer.left);
    EXPECT_EQ(regularPanzer.top, boldPanzer.top);
    EXPECT_LT(regularPanzer.right, boldPanzer.right);
    for (const ControlId link : links) {
        moveOver(link);
    }
    // Moves over other controls reach neither the labels nor the form.
    for (const ControlId other :
         {ControlId::ExportButton, ControlId::HelpButton, ControlId::AddressBox,
          ControlId::AddressCaption, ControlId::OrCaption, ControlId::QuestionCaption,
          ControlId::FileNameCaption, ControlId::FileNameLabel}) {
        SCOPED_TRACE(::testing::PrintToString(other));
        moveOver(other);
        EXPECT_TRUE(isBold(ControlId::PanzerGeneralLink));
        EXPECT_TRUE(isBold(ControlId::AlliedGeneralLink));
        EXPECT_TRUE(isBold(ControlId::CreditsLink));
    }
    EXPECT_EQ(placeOf(ControlId::AlliedGeneralLink).left, regularAllied.left);
    EXPECT_GT(placeOf(ControlId::AlliedGeneralLink).right, regularAllied.right);
    moveOverBareWindow();
    for (const ControlId link : links) {
        EXPECT_FALSE(isBold(link)) << ::testing::PrintToString(link);
    }
}

TEST_F(MainWindowTest, NoTwoControlsOverlapAndAllLieInsideInEveryState)
{
    const auto check = [this](const std::string& state) {
        SCOPED_TRACE(state);
        for (std::size_t a = 0; a < form::controls.size(); ++a) {
            const RECT first = placeOf(form::controls[a].id);
            EXPECT_GE(first.left, 0);
            EXPECT_GE(first.top, 0);
            EXPECT_LE(first.right, 258) << a;
            EXPECT_LE(first.bottom, 341) << a;
            for (std::size_t b = a + 1; b < form::controls.size(); ++b) {
                const RECT second = placeOf(form::controls[b].id);
                RECT overlap{};
                EXPECT_FALSE(IntersectRect(&overlap, &first, &second)) << a << " and " << b;
            }
        }
        for (const LabelRoom& room : labelRooms) {
            EXPECT_LE(placeOf(room.label).right + leastGapBetweenTexts, room.nextControl)
                << ::testing::PrintToString(room.label);
        }
    };
    check("at start");
    for (const ControlId game : {ControlId::PanzerGeneralLink, ControlId::AlliedGeneralLink}) {
        click(game);
        for (const ControlId link : links) {
            moveOver(link);
        }
        check("all bold after " + ::testing::PrintToString(game));
        moveOverBareWindow();
        check("all regular after " + ::testing::PrintToString(game));
    }
}

TEST_F(MainWindowTest, RefusesAChangeThatWouldOverflow)
{
    const HWND box = control(ControlId::AddressBox);
    SetWindowTextW(box, L" 2147483647");
    SendMessageW(box, EM_SETSEL, 11, 11);
    typeInto(ControlId::AddressBox, L"0");
    EXPECT_EQ(windowText(box), L" 2147483647");
    EXPECT_EQ(window->state().slotAddress, 2147483647);

    // Typing on goes on from where the refused key would have gone.
    typeInto(ControlId::AddressBox, L"\b");
    EXPECT_EQ(windowText(box), L" 214748364");

    // A paste that would overflow leaves the text as it was.
    ASSERT_TRUE(OpenClipboard(window->handle()));
    EmptyClipboard();
    const std::wstring pasted = L"99999999999";
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (pasted.size() + 1) * sizeof(wchar_t));
    std::copy(pasted.c_str(), pasted.c_str() + pasted.size() + 1,
              static_cast<wchar_t*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    SendMessageW(box, WM_PASTE, 0, 0);
    EXPECT_EQ(windowText(box), L" 214748364");
    EXPECT_EQ(window->state().slotAddress, 214748364);

    SetWindowTextW(box, L"-2147483648");
    SendMessageW(box, EM_SETSEL, 11, 11);
    typeInto(ControlId::AddressBox, L"5");
    EXPECT_EQ(windowText(box), L"-2147483648");
    EXPECT_TRUE(IsWindow(window->handle()));
}

TEST_F(MainWindowTest, ALabelClickIsAPressAndAReleaseOverTheSameLabel)
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
        pressAndRelease(c.pressedOn, c.releasedOn);
        EXPECT_EQ(window->state().chosenGame, c.chosen);
    }
    EXPECT_EQ(windowText(control(ControlId::FileNameLabel)), L"pg.exe");
    EXPECT_EQ(textColourOf(ControlId::FileNameLabel), RGB(192, 192, 192));
    EXPECT_FALSE(isBold(ControlId::PanzerGeneralLink));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainWindowTest, KeysPressTheFocusedButtonAndAltKeysClickTheLabels)
{
    SetFocus(control(ControlId::HelpButton));
    pressKeys({VK_RETURN});
    pressKeys({VK_SPACE});
    pressKeys({VK_MENU, 'A'});
    EXPECT_EQ(window->state().chosenGame, Game::AlliedGeneral);
    pressKeys({VK_MENU, 'P'});
    EXPECT_EQ(window->state().chosenGame, Game::PanzerGeneral);
    pressKeys({VK_MENU, 'C'});
    EXPECT_EQ(GetFocus(), control(ControlId::HelpButton));
    EXPECT_EQ(messages.shown,
              (std::vector<std::string>{form::texts::helpMessage, form::texts::helpMessage,
                                        form::texts::creditsMessage}));

    // Enter on the keypad is Return with the extended-key flag.
    MSG enter{window->handle(), WM_KEYDOWN, VK_RETURN, 0x011C0001, 0, {}};
    EXPECT_TRUE(window->handleKeyboard(enter));
    EXPECT_EQ(messages.shown.size(), 4u);
}

TEST_F(MainWindowTest, TransfersEndTheProgramWithTheirStatus)
{
    writeAlliedGeneral();
    click(ControlId::AlliedGeneralLink);
    SendMessageW(control(ControlId::ExportButton), BM_CLICK, 0, 0);
    EXPECT_EQ(window->handle(), nullptr);
    EXPECT_EQ(window->exitStatus(), 0);
    EXPECT_EQ(readFile("p_slots.txt"), slotFileOf(standardLists()));
    EXPECT_TRUE(messages.shown.empty());
}

} // namespace
} // namespace zarn::testing
