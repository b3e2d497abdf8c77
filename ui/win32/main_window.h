#pragma once

// The Windows front end of zarn. MainWindow is the one window, Form1: it builds its thirteen
// controls from the core's form layout (Label, AddressBox and PictureButton each make one kind of
// control) and wires their events to the core's editor state and transfers. Messages go through a
// MessagePresenter, on Windows the MessageBoxPresenter.

#include "address_box.h"
#include "dpi_scale.h"
#include "form_fonts.h"
#include "label.h"
#include "picture_button.h"
#include "zarn/editor_state.h"
#include "zarn/transfer.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <windows.h>

namespace zarn {
class MessagePresenter;
}

namespace zarn::win32 {

class MainWindow
{
public:
    // Creates the window and its controls and runs its load handler; the window is not shown yet.
    // @throw std::system_error when Windows cannot create the window.
    MainWindow(std::filesystem::path programFolder, MessagePresenter& messages);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND handle() const { return m_window; }
    // A control by its name in the form layout, such as "Command1"; nullptr for any other name.
    HWND control(std::string_view name) const;

    const EditorState& state() const { return m_state; }

    // Shows the window with the focus on Command1.
    void show(int showCommand);

    // The program's exit status: 0 unless the window ended after a refused or failed transfer or
    // a run-time error report.
    int exitStatus() const { return m_exitStatus; }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void createControls();
    void load();
    void onCommand(int id, int code);
    void onAddressChanged();
    void chooseGame(Label& gameLabel, const char* targetFile);
    void setHoverBold(bool bold);
    void clickFocusedButton();
    using Transfer = TransferEnd (*)(EditorState&, const std::filesystem::path&, MessagePresenter&);
    void runTransfer(Transfer transfer);
    void endProgram(int exitStatus);

    Label& label(std::string_view name) { return *m_labels.at(name); }
    const PictureButton& button(std::string_view name) const { return *m_buttons.at(name); }

    std::filesystem::path m_programFolder;
    MessagePresenter& m_messages;
    EditorState m_state;
    int m_exitStatus = 0;

    DpiScale m_scale;
    FormFonts m_fonts;
    HBRUSH m_background;
    HWND m_window = nullptr;
    std::map<std::string_view, std::unique_ptr<Label>, std::less<>> m_labels;
    std::map<std::string_view, std::unique_ptr<PictureButton>, std::less<>> m_buttons;
    std::unique_ptr<AddressBox> m_text1;
    HWND m_toolTip = nullptr;
    HWND m_lastFocus = nullptr;
};

// The text of the run-time error report for an error that ends the program.
std::string runTimeErrorReport(std::string_view error);

// Runs the window's messages, with the keyboard moving the focus between its controls, until the
// window has ended; returns the program's exit status.
int runMessageLoop(const MainWindow& window);

} // namespace zarn::win32
