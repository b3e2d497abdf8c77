#include "application.h"

#include "form_fonts.h"
#include "main_window.h"
#include "message_box_presenter.h"
#include "pictures.h"
#include "program_folder.h"
#include "zarn/form/layout.h"
#include "zarn/form/start_folder.h"
#include "zarn/form/texts.h"
#include "zarn/version.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QToolTip>
#include <algorithm>

namespace zarn::qt {
namespace {

// Qt's folder dialog: the platform's own where the desktop offers one.
class FolderDialog : public form::FolderChooser
{
public:
    std::optional<std::filesystem::path> chooseFolder(std::string_view title,
                                                      const std::filesystem::path& startIn) override
    {
        const QString folder = QFileDialog::getExistingDirectory(
            nullptr, QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())),
            QFile::decodeName(startIn.c_str()));
        if (folder.isEmpty()) {
            return std::nullopt;
        }
        return toFilesystemPath(folder);
    }
};

} // namespace

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

std::unique_ptr<MainWindow> windowForCommandLine(int argc, char* argv[], MessagePresenter& messages)
{
    // The program comes first, where there is anything at all.
    const std::vector<std::filesystem::path> arguments(argv + std::min(argc, 1), argv + argc);
    FolderDialog dialog;
    std::optional<GameFolder> start = form::startFolder(arguments, programFolder(), dialog);
    if (!start) {
        return nullptr;
    }
    if (!start->folder) {
        messages.showRefusal(*start->refusal);
        return nullptr;
    }
    return std::make_unique<MainWindow>(std::move(*start->folder), messages);
}

int runZarn(int& argc, char* argv[], const std::function<void(QWidget&)>& beforeShow)
{
    QApplication application(argc, argv);
    setUpApplication();
    MessageBoxPresenter messages;
    const std::unique_ptr<MainWindow> window = windowForCommandLine(argc, argv, messages);
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
