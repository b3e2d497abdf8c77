#include "main_window.h"

#include "wide_text.h"
#include "zarn/message_presenter.h"
#include "zarn/number_text.h"
#include "zarn/form/messages.h"

#include <algorithm>
#include <commctrl.h>
#include <string>
#include <system_error>
#include <vector>

namespace zarn::win32 {
namespace {

constexpr wchar_t windowClass[] = L"zarn.Form1";

// Control ids follow the controls' order in the layout, clear of IDOK and IDCANCEL.
constexpr int firstControlId = 100;

// The layout's controls sorted by tab index: Windows moves the focus in the order of creation.
std::vector<std::pair<int, const form::Control*>> controlsInTabOrder()
{
    std::vector<std::pair<int, const form::Control*>> controls;
    for (std::size_t i = 0; i < form::controls.size(); ++i) {
        controls.emplace_back(firstControlId + static_cast<int>(i), &form::controls[i]);
    }
    std::sort(controls.begin(), controls.end(),
              [](const auto& a, const auto& b) { return a.second->tabIndex < b.second->tabIndex; });
    return controls;
}

std::string_view controlName(int id)
{
    const int index = id - firstControlId;
    if (index < 0 || index >= static_cast<int>(form::controls.size())) {
        return {};
    }
    return form::controls[index].name;
}

// What a screen reader announces for each picture button.
std::wstring accessibleName(std::string_view button)
{
    if (button == "Command1") {
        return L"EXE -> TXT";
    }
    if (button == "Command3") {
        return L"TXT->EXE";
    }
    return toWide(button == "Command2" ? "Quit" : "Help");
}

// A slot address as the load handler shows it: a blank in place of the sign of a non-negative
// number.
std::wstring addressText(std::int32_t address)
{
    return (address < 0 ? L"" : L" ") + std::to_wstring(address);
}

int screenDpi()
{
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

[[noreturn]] void failWithLastError(const char* what)
{
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
}

void registerWindowClass(WNDPROC windowProc)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClassInfo{};
    if (GetClassInfoExW(instance, windowClass, &windowClassInfo)) {
        return;
    }
    const std::wstring icon = toWide(form::iconPicture);
    windowClassInfo.cbSize = sizeof windowClassInfo;
    windowClassInfo.lpfnWndProc = windowProc;
    windowClassInfo.hInstance = instance;
    windowClassInfo.hIcon =
        static_cast<HICON>(LoadImageW(instance, icon.c_str(), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    windowClassInfo.hIconSm = static_cast<HICON>(LoadImageW(instance, icon.c_str(), IMAGE_ICON,
                                                            GetSystemMetrics(SM_CXSMICON),
                                                            GetSystemMetrics(SM_CYSMICON), 0));
    windowClassInfo.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClassInfo.lpszClassName = windowClass;
    if (!RegisterClassExW(&windowClassInfo)) {
        failWithLastError("registering the window class");
    }
}

} // namespace

MainWindow::MainWindow(std::filesystem::path programFolder, MessagePresenter& messages)
    : m_programFolder(std::move(programFolder)), m_messages(messages), m_scale(screenDpi()),
      m_fonts(m_scale), m_background(CreateSolidBrush(colourOf(form::background)))
{
    registerWindowClass(&MainWindow::windowProc);
    // A fixed client area: the layout does not follow the window's size.
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    constexpr DWORD extendedStyle = WS_EX_CONTROLPARENT;
    RECT frame{0, 0, m_scale.pixels(form::clientWidth), m_scale.pixels(form::clientHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
    m_window = CreateWindowExW(extendedStyle, windowClass, toWide(form::caption).c_str(), style,
                               CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                               frame.bottom - frame.top, nullptr, nullptr,
                               GetModuleHandleW(nullptr), this);
    if (!m_window) {
        failWithLastError("creating the window");
    }
    createControls();
    load();
}

MainWindow::~MainWindow()
{
    if (m_window) {
        DestroyWindow(m_window);
    }
    DeleteObject(m_background);
}

HWND MainWindow::control(std::string_view name) const
{
    if (const auto found = m_labels.find(name); found != m_labels.end()) {
        return found->second->handle();
    }
    if (const auto found = m_buttons.find(name); found != m_buttons.end()) {
        return found->second->handle();
    }
    return m_text1 && name == "Text1" ? m_text1->handle() : nullptr;
}

void MainWindow::createControls()
{
    const HFONT defaultFont = m_fonts.font(form::FontSize::Default, false);
    for (const auto& [id, control] : controlsInTabOrder()) {
        switch (control->kind) {
        case form::ControlKind::Label:
            m_labels.emplace(control->name,
                             std::make_unique<Label>(m_window, id, *control, m_fonts, m_scale));
            break;
        case form::ControlKind::TextBox:
            m_text1 = std::make_unique<AddressBox>(m_window, id, *control, defaultFont, m_scale);
            break;
        case form::ControlKind::PictureButton:
            m_buttons.emplace(control->name,
                              std::make_unique<PictureButton>(m_window, id, *control,
                                                              accessibleName(control->name),
                                                              defaultFont, m_scale));
            break;
        }
    }

    label("Label2").onMouseMove([this] { label("Label2").setBold(true); });
    label("Label4").onMouseMove([this] { label("Label4").setBold(true); });
    label("Label8").onMouseMove([this] { label("Label8").setBold(true); });

    m_toolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_window, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    std::wstring tip = toWide(form::creditsToolTip);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = m_window;
    tool.uId = reinterpret_cast<UINT_PTR>(label("Label8").handle());
    tool.lpszText = tip.data();
    SendMessageW(m_toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void MainWindow::load()
{
    m_state.SlotAddress = defaultSlotAddress;
    // Setting the text is a change of Text1, which sets SlotAddress again from the text.
    m_text1->setText(addressText(m_state.SlotAddress));
    m_state.TargetFile = noTargetChosen;
    label("Label7").setText(toWide(m_state.TargetFile));
}

void MainWindow::show(int showCommand)
{
    ShowWindow(m_window, showCommand);
    UpdateWindow(m_window);
    SetFocus(button("Command1").handle());
}

LRESULT CALLBACK MainWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* self = static_cast<MainWindow*>(creation->lpCreateParams);
        self->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->m_window = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handleMessage(message, wParam, lParam);
}

LRESULT MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_ERASEBKGND: {
        // Each window paints with its own brush; the class, shared by all, has none.
        RECT client{};
        GetClientRect(m_window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, m_background);
        return TRUE;
    }
    case WM_MOUSEMOVE:
        // Only moves over the bare window arrive here: every control takes its own.
        setHoverBold(false);
        return 0;
    case WM_CTLCOLORSTATIC:
        for (const auto& [name, each] : m_labels) {
            if (each->handle() == reinterpret_cast<HWND>(lParam)) {
                return reinterpret_cast<LRESULT>(
                    each->prepareToPaint(reinterpret_cast<HDC>(wParam), m_background));
            }
        }
        break;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const std::string_view name = controlName(static_cast<int>(wParam));
        if (const auto found = m_buttons.find(name); found != m_buttons.end()) {
            found->second->draw(*item);
            return TRUE;
        }
        break;
    }
    case WM_ACTIVATE:
        // Give the focus back to the control that had it when the window was left, for example
        // for a message box.
        if (LOWORD(wParam) == WA_INACTIVE) {
            m_lastFocus = GetFocus();
        }
        break;
    case WM_SETFOCUS:
        SetFocus(m_lastFocus && IsChild(m_window, m_lastFocus) ? m_lastFocus
                                                               : button("Command1").handle());
        return 0;
    case WM_DESTROY:
        PostQuitMessage(m_exitStatus);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

void MainWindow::onCommand(int id, int code)
{
    if (id == IDOK) {
        // Return pressed on the window: it presses the button that has the focus.
        clickFocusedButton();
        return;
    }
    const std::string_view name = controlName(id);
    if (name == "Text1") {
        if (code == EN_CHANGE) {
            onAddressChanged();
        }
        return;
    }
    if (code != BN_CLICKED) { // also STN_CLICKED, for the labels
        return;
    }
    if (name == "Label2") {
        chooseGame(label("Label2"), panzerGeneralFile);
    } else if (name == "Label4") {
        chooseGame(label("Label4"), alliedGeneralFile);
    } else if (name == "Label8") {
        m_messages.showMessage(creditsMessage);
    } else if (name == "Command1") {
        runTransfer(&exportSlots);
    } else if (name == "Command2") {
        endProgram(0);
    } else if (name == "Command3") {
        runTransfer(&importSlots);
    } else if (name == "Command4") {
        m_messages.showMessage(helpMessage);
    }
}

void MainWindow::onAddressChanged()
{
    const std::optional<std::int32_t> address = slotAddressFromText(toUtf8(m_text1->text()));
    if (!address) {
        // An address beyond 32 bits: the change is refused and the text goes back, which comes
        // back here as a change of its own.
        m_text1->refuse();
        return;
    }
    m_text1->accept();
    m_state.SlotAddress = *address;
}

void MainWindow::chooseGame(Label& gameLabel, const char* targetFile)
{
    m_state.TargetFile = targetFile;
    gameLabel.setBold(false);
    Label& fileLabel = label("Label7");
    fileLabel.setTextColour(gameLabel.textColour());
    fileLabel.setText(toWide(m_state.TargetFile));
}

void MainWindow::setHoverBold(bool bold)
{
    for (const char* name : {"Label2", "Label4", "Label8"}) {
        label(name).setBold(bold);
    }
}

void MainWindow::clickFocusedButton()
{
    const HWND focus = GetFocus();
    for (const auto& [name, each] : m_buttons) {
        if (each->handle() == focus) {
            SendMessageW(focus, BM_CLICK, 0, 0);
            return;
        }
    }
}

void MainWindow::runTransfer(Transfer transfer)
{
    try {
        switch (transfer(m_state, m_programFolder, m_messages)) {
        case TransferEnd::StoppedEarly:
            return;
        case TransferEnd::Succeeded:
            endProgram(0);
            return;
        case TransferEnd::Failed:
            endProgram(1);
            return;
        }
    } catch (const std::exception& error) {
        // Run-time errors of the core, and anything else that went wrong on the way, end the
        // program once the user has read what happened.
        m_messages.showMessage(runTimeErrorReport(error.what()));
        endProgram(1);
    }
}

void MainWindow::endProgram(int exitStatus)
{
    m_exitStatus = exitStatus;
    DestroyWindow(m_window);
}

std::string runTimeErrorReport(std::string_view error)
{
    return "Run-time error:\r" + std::string(error);
}

int runMessageLoop(const MainWindow& window)
{
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (window.handle() && IsDialogMessageW(window.handle(), &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace zarn::win32
