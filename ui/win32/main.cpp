#include "command_line.h"
#include "folder_picker.h"
#include "main_window.h"
#include "message_box_presenter.h"
#include "program_folder.h"
#include "zarn/form/start_folder.h"
#include "zarn/form/texts.h"

#include <commctrl.h>
#include <exception>
#include <objbase.h>
#include <utility>
#include <windows.h>

namespace {

// COM on the window's thread for as long as the window: the folder picker is a COM object, and
// screen readers in other processes reach the controls' accessible objects through it. Without it
// the window works all the same, only not with them, and the picker cannot be shown.
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
        zarn::win32::FolderPicker picker;
        std::optional<zarn::GameFolder> start = zarn::form::startFolder(
            zarn::win32::commandLineArguments(), zarn::win32::programFolder(), picker);
        if (!start) {
            return 1;
        }
        if (!start->folder) {
            messages.showRefusal(*start->refusal);
            return 1;
        }
        zarn::win32::MainWindow window(std::move(*start->folder), messages);
        messages.setOwner(window.handle());
        window.show(showCommand);
        return zarn::win32::runMessageLoop(window);
    } catch (const std::exception& error) {
        messages.setOwner(nullptr);
        messages.showMessage(zarn::form::texts::runTimeErrorReport(error.what()));
        return 1;
    }
}
