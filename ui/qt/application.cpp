#include "application.h"

#include "form_fonts.h"
#include "main_window.h"
#include "message_box_presenter.h"
#include "pictures.h"
#include "program_folder.h"
#include "zarn/form/game_folder.h"
#include "zarn/form/layout.h"
#include "zarn/form/texts.h"
#include "zarn/version.h"

#include <QApplication>
#include <QToolTip>

namespace zarn::qt {

void setUpApplication()
{
    QApplication::setApplicationName(form::texts::programTitle);
    QApplication::setApplicationVersion(zarn::version);
    QApplication::setWindowIcon(pixelArtIcon(picture(form::iconPicture)));
    // The form's default font is the application's: the line edit lays out its text in the
    // application's font while it is made, which would otherwise load a font that never shows.
    // Tool tips and message boxes keep the desktop's size.
    QApplication::setFont(formFont(form::FontSize::Default, false));
    QToolTip::setFont(messageFont());
}

std::unique_ptr<MainWindow> windowForCommandLine(const QStringList& arguments,
                                                 MessagePresenter& messages)
{
    std::vector<std::filesystem::path> named;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        named.push_back(toFilesystemPath(arguments[i]));
    }
    form::GameFolder chosen = form::gameFolderFor(named, programFolder());
    if (!chosen.folder) {
        messages.showMessage(chosen.refusal);
        return nullptr;
    }
    return std::make_unique<MainWindow>(std::move(*chosen.folder), messages);
}

int runZarn(int& argc, char* argv[], const std::function<void(QWidget&)>& beforeShow)
{
    QApplication application(argc, argv);
    setUpApplication();
    MessageBoxPresenter messages;
    const std::unique_ptr<MainWindow> window =
        windowForCommandLine(QApplication::arguments(), messages);
    if (!window) {
        return 1;
    }
    if (beforeShow) {
        beforeShow(*window);
    }
    window->show();
    return QApplication::exec();
}

} // namespace zarn::qt
