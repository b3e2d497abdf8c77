#include "command_line.h"
#include "main_window.h"
#include "message_box_presenter.h"
#include "program_folder.h"
#include "zarn/form/game_folder.h"
#include "zarn/form/texts.h"

#include <commctrl.h>
#include <exception>
#include <objbase.h>
#include <utility>
#include <windows.h>

namespace {

// COM on the window's thread for as long as the window: screen readers in other processes reach
// the controls' accessible objects through it. Without it zarn works all the same, only not with
// them.
class ComApartment
{
public:
    ComApartment()
        : m_started(
              SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)))
    {}
    ~ComApartment()
    {
        if (m_started) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool m_started;
};

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand)
{
    const INITCOMMONCONTROLSEX commonControls{sizeof(INITCOMMONCONTROLSEX),
                                              ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&commonControls);
    const ComApartment com;

    zarn::win32::MessageBoxPresenter messages;
    try {
        zarn::form::GameFolder chosen = zarn::form::gameFolderFor(
            zarn::win32::commandLineArguments(), zarn::win32::programFolder());
        if (!chosen.folder) {
            messages.showMessage(chosen.refusal);
            return 1;
        }
        zarn::win32::MainWindow window(std::move(*chosen.folder), messages);
        messages.setOwner(window.handle());
        window.show(showCommand);
        return zarn::win32::runMessageLoop(window);
    } catch (const std::exception& error) {
        messages.setOwner(nullptr);
        messages.showMessage(zarn::form::texts::runTimeErrorReport(error.what()));
        return 1;
    }
}
