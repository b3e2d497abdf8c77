#pragma once

// The Windows front end of zarn. MainWindow is the one window: it builds its thirteen controls
// from the form layout (Label, AddressBox and PictureButton each make one kind of control), turns
// their messages into calls on the form::Form that holds the window's behaviour, and shows what
// the Form tells it as its form::View. Messages go to the MessagePresenter it is given, on
// Windows the MessageBoxPresenter.

#include "address_box.h"
#include "dpi_scale.h"
#include "form_fonts.h"
#include "label.h"
#include "picture_button.h"
#include "zarn/form/form.h"
#include "zarn/form/view.h"

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <windows.h>

namespace zarn::win32 {

class MainWindow : private form::View
{
public:
    // Creates the window and its controls and starts the form; the window is not shown yet.
    // @throw std::system_error when Windows cannot create the window.
    MainWindow(std::filesystem::path gameFolder, MessagePresenter& messages);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND handle() const { return m_window; }
    HWND control(form::ControlId id) const;

    const EditorState& state() const { return m_form.state(); }

    // Shows the window with the focus on the control that the layout gives it first.
    void show(int showCommand);

    // Handles a keyboard message the way the window wants it: the access keys click their
    // labels, Tab moves the focus, Return and Enter press the focused button. Returns false for
    // a message it leaves to the usual translation and dispatch.
    bool handleKeyboard(MSG& message);

    // The program's exit status: 0 unless the window ended after a refused or failed transfer or
    // a run-time error report.
    int exitStatus() const { return m_exitStatus; }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void createControls();
    void addToolTip();
    void onCommand(int id, int code);
    void clickFocusedButton();
    Label& label(form::ControlId id) const;
    const PictureButton* button(int controlId) const;

    void setAddressText(const std::string& text) override;
    void setFileName(const std::string& name) override;
    void setFileNameColour(form::Rgb colour) override;
    void setBold(form::ControlId label, bool bold) override;
    void showMessage(const std::string& text) override;
    void endProgram(int exitStatus) override;

    MessagePresenter& m_messages;
    form::Form m_form;
    int m_exitStatus = 0;

    DpiScale m_scale;
    FormFonts m_fonts;
    HBRUSH m_background;
    HACCEL m_accessKeys = nullptr;
    HWND m_window = nullptr;
    std::array<std::unique_ptr<Label>, form::controls.size()> m_labels;
    std::array<std::unique_ptr<PictureButton>, form::controls.size()> m_buttons;
    std::unique_ptr<AddressBox> m_addressBox;
    HWND m_toolTip = nullptr;
    HWND m_lastFocus = nullptr;
};

// Runs the window's messages, with the keyboard handled as the window wants it, until the window
// has ended; returns the program's exit status.
int runMessageLoop(MainWindow& window);

} // namespace zarn::win32
