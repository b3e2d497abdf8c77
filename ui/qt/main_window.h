#pragma once

// The editor's one window. Form1 builds its thirteen controls from the shared control table and
// wires them to the editor core: the game choices set the editor state, the two transfer buttons
// run the export and the import, and every message goes through the MessagePresenter it is given.
// Label draws the labels that fit their text and report clicks and mouse moves, PictureButton
// the buttons with pictures, AddressValidator keeps the address box from overflowing.

#include "zarn/editor_state.h"
#include "zarn/transfer.h"

#include <QWidget>
#include <filesystem>

class QLineEdit;

namespace zarn {
class MessagePresenter;
}

namespace zarn::qt {

class Label;
class PictureButton;

class MainWindow : public QWidget
{
    Q_OBJECT

public:
    // A window whose transfers use the files in `programFolder` and whose messages go to
    // `messages`, which must outlive it. The editor state is initialised before it is shown.
    MainWindow(std::filesystem::path programFolder, zarn::MessagePresenter& messages,
               QWidget* parent = nullptr);

    // The slot address, the chosen game and the last length check.
    const zarn::EditorState& editorState() const { return m_state; }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    using Transfer = zarn::TransferEnd (*)(zarn::EditorState&, const std::filesystem::path&,
                                           zarn::MessagePresenter&);

    void createControls();
    void orderTabs();
    void findControls();
    void connectControls();
    void load();

    void setSlotAddress(const QString& text);
    void chooseGame(const char* targetFile, Label* gameLabel);
    void runTransfer(Transfer transfer);
    void endProgram(int exitStatus);

    std::filesystem::path m_programFolder;
    zarn::MessagePresenter& m_messages;
    zarn::EditorState m_state;

    QLineEdit* m_addressBox = nullptr;
    Label* m_panzerGeneral = nullptr;
    Label* m_alliedGeneral = nullptr;
    Label* m_fileName = nullptr;
    Label* m_credits = nullptr;
    PictureButton* m_export = nullptr;
    PictureButton* m_quit = nullptr;
    PictureButton* m_import = nullptr;
    PictureButton* m_help = nullptr;
};

} // namespace zarn::qt
