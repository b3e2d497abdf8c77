#include "main_window.h"

#include "texts.h"
#include "zarn/form/accessibility.h"
#include "zarn/utf8_path.h"

#include <commctrl.h>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace zarn::win32 {
namespace {

using form::Control;
using form::ControlId;

constexpr wchar_t windowClass[] = L"zarn.MainWindow";

// Control ids follow the controls' order in the layout, clear of IDOK and IDCANCEL.
constexpr int firstControlId = 100;

int controlIdOf(ControlId id)
{
    return firstControlId + static_cast<int>(id);
}

std::size_t indexOf(ControlId id)
{
    return static_cast<std::size_t>(id);
}

// The control that a control id stands for, if any.
std::optional<ControlId> layoutIdOf(int controlId)
{
    const int index = controlId - firstControlId;
    if (index < 0 || index >= static_cast<int>(form::controls.size())) {
        return std::nullopt;
    }
    return form::controls[static_cast<std::size_t>(index)].id;
}

// Alt and a letter sends the command of its label, as an accelerator.
HACCEL createAccessKeys()
{
    std::vector<ACCEL> keys;
    for (const form::AccessKey& key : form::accessKeys) {
        keys.push_back({FALT | FVIRTKEY, static_cast<WORD>(key.letter),
                        static_cast<WORD>(controlIdOf(key.label))});
    }
    return CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
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
    const std::wstring icon = utf16FromUtf8(form::iconPicture);
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
        failWithLastError(texts::registeringWindowClass);
    }
}

} // namespace

MainWindow::MainWindow(std::filesystem::path gameFolder, MessagePresenter& messages)
    : m_messages(messages), m_form(std::move(gameFolder), *this), m_scale(screenDpi()),
      m_fonts(m_scale), m_background(CreateSolidBrush(colourOf(form::background))),
      m_accessKeys(createAccessKeys())
{
    registerWindowClass(&MainWindow::windowProc);
    // A fixed client area: the layout does not follow the window's size.
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    constexpr DWORD extendedStyle = WS_EX_CONTROLPARENT;
    RECT frame{0, 0, m_scale.pixels(form::clientWidth), m_scale.pixels(form::clientHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
    m_window = CreateWindowExW(extendedStyle, windowClass, utf16FromUtf8(form::caption).c_str(),
                               style, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                               frame.bottom - frame.top, nullptr, nullptr,
                               GetModuleHandleW(nullptr), this);
    if (!m_window) {
        failWithLastError(texts::creatingWindow);
    }
    createControls();
    addToolTip();
    m_form.start();
}

MainWindow::~MainWindow()
{
    if (m_window) {
        DestroyWindow(m_window);
    }
    DestroyAcceleratorTable(m_accessKeys);
    DeleteObject(m_background);
}

HWND MainWindow::control(ControlId id) const
{
    const std::size_t index = indexOf(id);
    if (m_labels[index]) {
        return m_labels[index]->handle();
    }
    if (m_buttons[index]) {
        return m_buttons[index]->handle();
    }
    return id == ControlId::AddressBox && m_addressBox ? m_addressBox->handle() : nullptr;
}

Label& MainWindow::label(ControlId id) const
{
    return *m_labels[indexOf(id)];
}

const PictureButton* MainWindow::button(int controlId) const
{
    const std::optional<ControlId> id = layoutIdOf(controlId);
    return id ? m_buttons[indexOf(*id)].get() : nullptr;
}

void MainWindow::createControls()
{
    const HFONT defaultFont = m_fonts.font(form::FontSize::Default, false);
    // Windows moves the focus in the order in which the controls were made.
    for (const ControlId id : form::tabOrder) {
        const Control& each = form::control(id);
        const int controlId = controlIdOf(id);
        switch (each.kind) {
        case form::ControlKind::Label: {
            auto made = std::make_unique<Label>(m_window, controlId, each, m_fonts, m_scale);
            made->onMouseMove([this, id] { m_form.pointerOver(id); });
            made->onClick([this, id] { m_form.clicked(id); });
            if (const auto accessible = form::accessibleText(id)) {
                made->announceAsLink(utf16FromUtf8(accessible->name),
                                     utf16FromUtf8(accessible->description));
            }
            m_labels[indexOf(id)] = std::move(made);
            break;
        }
        case form::ControlKind::TextBox:
            m_addressBox = std::make_unique<AddressBox>(
                m_window, controlId, each, *form::accessibleText(id), defaultFont, m_scale);
            break;
        case form::ControlKind::PictureButton: {
            const form::AccessibleText accessible =
                form::accessibleText(id).value_or(form::AccessibleText{id, each.text, ""});
            m_buttons[indexOf(id)] = std::make_unique<PictureButton>(
                m_window, controlId, each, accessible, defaultFont, m_scale);
            break;
        }
        }
    }
}

void MainWindow::addToolTip()
{
    m_toolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_window, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    std::wstring tip = utf16FromUtf8(form::creditsToolTip);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = m_window;
    tool.uId = reinterpret_cast<UINT_PTR>(control(form::toolTipControl));
    tool.lpszText = tip.data();
    SendMessageW(m_toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void MainWindow::show(int showCommand)
{
    ShowWindow(m_window, showCommand);
    UpdateWindow(m_window);
    SetFocus(control(form::firstFocus));
}

bool MainWindow::handleKeyboard(MSG& message)
{
    if (!m_window) {
        return false;
    }
    return TranslateAcceleratorW(m_window, m_accessKeys, &message) != 0 ||
           IsDialogMessageW(m_window, &message) != 0;
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
        m_form.pointerOverBareWindow();
        return 0;
    case WM_CTLCOLORSTATIC:
        for (const auto& each : m_labels) {
            if (each && each->handle() == reinterpret_cast<HWND>(lParam)) {
                return reinterpret_cast<LRESULT>(
                    each->prepareToPaint(reinterpret_cast<HDC>(wParam), m_background));
            }
        }
        break;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (const PictureButton* drawn = button(static_cast<int>(wParam))) {
            drawn->draw(*item);
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
                                                               : control(form::firstFocus));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(m_exitStatus);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

void MainWindow::onCommand(int controlId, int code)
{
    if (controlId == IDOK) {
        // Return or Enter pressed on the window: it presses the button that has the focus.
        clickFocusedButton();
        return;
    }
    const std::optional<ControlId> id = layoutIdOf(controlId);
    if (!id) {
        return;
    }
    constexpr int fromAccelerator = 1;
    if (*id == ControlId::AddressBox) {
        if (code == EN_CHANGE && !m_form.addressTextChanged(utf8FromUtf16(m_addressBox->text()))) {
            // The refused text goes back, which comes back here as a change of its own.
            m_addressBox->refuse();
        } else if (code == EN_CHANGE) {
            m_addressBox->accept();
        }
    } else if (code == BN_CLICKED || (code == fromAccelerator && m_labels[indexOf(*id)])) {
        m_form.clicked(*id);
    }
}

void MainWindow::clickFocusedButton()
{
    const HWND focus = GetFocus();
    for (const auto& each : m_buttons) {
        if (each && each->handle() == focus) {
            SendMessageW(focus, BM_CLICK, 0, 0);
            return;
        }
    }
}

void MainWindow::setAddressText(const std::string& text)
{
    // Setting the text is a change of the address box, which reaches the form as one.
    m_addressBox->setText(utf16FromUtf8(text));
}

void MainWindow::setFileName(const std::string& name)
{
    label(ControlId::FileNameLabel).setText(utf16FromUtf8(name));
}

void MainWindow::setFileNameColour(form::Rgb colour)
{
    label(ControlId::FileNameLabel).setTextColour(colourOf(colour));
}

void MainWindow::setBold(ControlId id, bool bold)
{
    label(id).setBold(bold);
}

void MainWindow::showMessage(const std::string& text)
{
    m_messages.showMessage(text);
}

void MainWindow::endProgram(int exitStatus)
{
    m_exitStatus = exitStatus;
    DestroyWindow(m_window);
}

int runMessageLoop(MainWindow& window)
{
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (window.handleKeyboard(message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace zarn::win32
