#include "main_window.h"
#include "message_box_presenter.h"
#include "program_folder.h"
#include "zarn/form/messages.h"

#include <commctrl.h>
#include <exception>
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand)
{
    const INITCOMMONCONTROLSEX commonControls{sizeof(INITCOMMONCONTROLSEX),
                                              ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&commonControls);

    zarn::win32::MessageBoxPresenter messages;
    try {
        zarn::win32::MainWindow window(zarn::win32::programFolder(), messages);
        messages.setOwner(window.handle());
        window.show(showCommand);
        return zarn::win32::runMessageLoop(window);
    } catch (const std::exception& error) {
        messages.setOwner(nullptr);
        messages.showMessage(zarn::form::runTimeErrorReport(error.what()));
        return 1;
    }
}
