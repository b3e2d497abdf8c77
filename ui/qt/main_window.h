#pragma once

// The Qt front end of zarn. MainWindow is the one window: it builds its thirteen controls from the
// form layout (Label, a QLineEdit with the AddressValidator, PictureButton), turns their events
// into calls on the form::Form that holds the window's behaviour, and shows what the Form tells it
// as its form::View. Messages go to the MessagePresenter it is given.

#include "zarn/form/form.h"
#include "zarn/form/view.h"

#include <QWidget>
#include <array>
#include <filesystem>

class QLineEdit;

namespace zarn::qt {

class Label;

class MainWindow : public QWidget, private form::View
{
    Q_OBJECT

public:
    // A window whose transfers use the files in `gameFolder` and whose messages go to
    // `messages`, which must outlive it. The form has started before the window is shown.
    MainWindow(std::filesystem::path gameFolder, MessagePresenter& messages,
               QWidget* parent = nullptr);

    // The slot address and the chosen game.
    const EditorState& state() const { return m_form.state(); }
    // A control of the layout.
    QWidget* control(form::ControlId id) const;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void createControls();
    void orderTabs();
    void addAccessKeys();
    Label* label(form::ControlId id) const;

    void setAddressText(const std::string& text) override;
    void setFileName(const std::string& name) override;
    void setFileNameColour(form::Rgb colour) override;
    void setBold(form::ControlId label, bool bold) override;
    void showMessage(const std::string& text) override;
    void endProgram(int exitStatus) override;

    MessagePresenter& m_messages;
    form::Form m_form;
    std::array<QWidget*, form::controls.size()> m_controls{};
};

} // namespace zarn::qt
