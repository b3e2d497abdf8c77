#include "main_window.h"

#include "address_validator.h"
#include "form_fonts.h"
#include "label.h"
#include "picture_button.h"
#include "pictures.h"
#include "zarn/form/layout.h"
#include "zarn/form/messages.h"
#include "zarn/message_presenter.h"
#include "zarn/number_text.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

namespace zarn::qt {

namespace {

using zarn::form::Control;
using zarn::form::ControlKind;

QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QColor toQColor(zarn::form::Rgb colour)
{
    return QColor(colour.red, colour.green, colour.blue);
}

// A number as the window shows it: a blank in place of the sign when it is not negative.
QString withSignPlace(std::int32_t number)
{
    return (number < 0 ? QString() : QStringLiteral(" ")) + QString::number(number);
}

std::string runtimeErrorReport(const char* error)
{
    return std::string("Run-time error\r") + error;
}

// What a screen reader announces for each picture button.
struct ButtonDescription
{
    std::string_view control;
    const char* name;
    const char* description;
};

constexpr ButtonDescription buttonDescriptions[] = {
    {"Command1", "EXE -> TXT",
     "Copies the purchase-slot table of the chosen game executable into p_slots.txt"},
    {"Command2", "Quit", "Ends zarn"},
    {"Command3", "TXT->EXE",
     "Writes the purchase-slot table in p_slots.txt back into the chosen game executable"},
    {"Command4", "Help", "Explains the two transfer buttons"},
};

QWidget* createControl(const Control& control, QWidget* form)
{
    switch (control.kind) {
    case ControlKind::Label: {
        // The caption comes after the font, so that the label measures it only once.
        auto* label = new Label(QString(), form);
        if (control.font != zarn::form::FontSize::Default || control.bold) {
            label->setFont(formFont(control.font, control.bold));
        }
        label->setCaption(toQString(control.text));
        if (control.textColour) {
            label->setTextColour(toQColor(*control.textColour));
        }
        label->move(control.left, control.top);
        return label;
    }
    case ControlKind::TextBox: {
        // Made empty, then given its text once it has the form's font: text given to the
        // constructor is laid out at once in the application's font, measuring glyphs that
        // never show.
        auto* box = new QLineEdit(form);
        box->setText(toQString(control.text));
        box->setValidator(new AddressValidator(box));
        box->setGeometry(control.left, control.top, control.width, control.height);
        return box;
    }
    case ControlKind::PictureButton: {
        auto* button = new PictureButton(picture(control.picture), toQString(control.text), form);
        button->setGeometry(control.left, control.top, control.width, control.height);
        const auto described =
            std::find_if(std::begin(buttonDescriptions), std::end(buttonDescriptions),
                         [&](const ButtonDescription& d) { return d.control == control.name; });
        if (described != std::end(buttonDescriptions)) {
            button->setAccessibleName(QString::fromUtf8(described->name));
            button->setAccessibleDescription(QString::fromUtf8(described->description));
        }
        return button;
    }
    }
    return nullptr;
}

} // namespace

MainWindow::MainWindow(std::filesystem::path programFolder, zarn::MessagePresenter& messages,
                       QWidget* parent)
    : QWidget(parent), m_programFolder(std::move(programFolder)), m_messages(messages)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(zarn::form::caption));
    setFixedSize(zarn::form::clientWidth, zarn::form::clientHeight);
    setFont(formFont(zarn::form::FontSize::Default, false));
    setMouseTracking(true);

    createControls();
    orderTabs();
    findControls();
    connectControls();
    load();
}

void MainWindow::createControls()
{
    for (const Control& control : zarn::form::controls) {
        QWidget* widget = createControl(control, this);
        widget->setObjectName(toQString(control.name));
        // Only a move over the bare window reaches its handler; the controls keep theirs.
        widget->setAttribute(Qt::WA_NoMousePropagation);
    }
}

void MainWindow::orderTabs()
{
    std::vector<Control> byTabIndex(zarn::form::controls.begin(), zarn::form::controls.end());
    std::sort(byTabIndex.begin(), byTabIndex.end(),
              [](const Control& a, const Control& b) { return a.tabIndex < b.tabIndex; });
    QWidget* previous = nullptr;
    for (const Control& control : byTabIndex) {
        if (control.kind == ControlKind::Label) {
            continue;
        }
        auto* widget = findChild<QWidget*>(toQString(control.name));
        if (previous != nullptr) {
            setTabOrder(previous, widget);
        } else {
            widget->setFocus();
        }
        previous = widget;
    }
}

void MainWindow::findControls()
{
    m_addressBox = findChild<QLineEdit*>(QStringLiteral("Text1"));
    m_panzerGeneral = findChild<Label*>(QStringLiteral("Label2"));
    m_alliedGeneral = findChild<Label*>(QStringLiteral("Label4"));
    m_fileName = findChild<Label*>(QStringLiteral("Label7"));
    m_credits = findChild<Label*>(QStringLiteral("Label8"));
    m_export = findChild<PictureButton*>(QStringLiteral("Command1"));
    m_quit = findChild<PictureButton*>(QStringLiteral("Command2"));
    m_import = findChild<PictureButton*>(QStringLiteral("Command3"));
    m_help = findChild<PictureButton*>(QStringLiteral("Command4"));
}

void MainWindow::connectControls()
{
    m_credits->setToolTip(QString::fromUtf8(zarn::form::creditsToolTip));

    connect(m_addressBox, &QLineEdit::textChanged, this, &MainWindow::setSlotAddress);
    connect(m_panzerGeneral, &Label::clicked, this,
            [this] { chooseGame(zarn::panzerGeneralFile, m_panzerGeneral); });
    connect(m_alliedGeneral, &Label::clicked, this,
            [this] { chooseGame(zarn::alliedGeneralFile, m_alliedGeneral); });
    for (Label* link : {m_panzerGeneral, m_alliedGeneral, m_credits}) {
        connect(link, &Label::mouseMoved, link, [link] { link->setBold(true); });
    }
    connect(m_credits, &Label::clicked, this,
            [this] { m_messages.showMessage(zarn::creditsMessage); });
    connect(m_export, &QPushButton::clicked, this, [this] { runTransfer(&zarn::exportSlots); });
    connect(m_quit, &QPushButton::clicked, this, [this] { endProgram(EXIT_SUCCESS); });
    connect(m_import, &QPushButton::clicked, this, [this] { runTransfer(&zarn::importSlots); });
    connect(m_help, &QPushButton::clicked, this,
            [this] { m_messages.showMessage(zarn::helpMessage); });
}

void MainWindow::load()
{
    m_state.SlotAddress = zarn::defaultSlotAddress;
    m_addressBox->setText(withSignPlace(m_state.SlotAddress));
    m_state.TargetFile = zarn::noTargetChosen;
    m_fileName->setCaption(toQString(m_state.TargetFile));
}

void MainWindow::mouseMoveEvent(QMouseEvent*)
{
    m_panzerGeneral->setBold(false);
    m_alliedGeneral->setBold(false);
    m_credits->setBold(false);
}

void MainWindow::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), toQColor(zarn::form::background));
}

void MainWindow::setSlotAddress(const QString& text)
{
    // The validator keeps overflowing texts out of the box, so every text has an address.
    if (const auto address = zarn::slotAddressFromText(text.toStdString())) {
        m_state.SlotAddress = *address;
    }
}

void MainWindow::chooseGame(const char* targetFile, Label* gameLabel)
{
    m_state.TargetFile = targetFile;
    gameLabel->setBold(false);
    m_fileName->setTextColour(gameLabel->textColour());
    m_fileName->setCaption(toQString(m_state.TargetFile));
}

void MainWindow::runTransfer(Transfer transfer)
{
    try {
        switch (transfer(m_state, m_programFolder, m_messages)) {
        case zarn::TransferEnd::StoppedEarly:
            return;
        case zarn::TransferEnd::Succeeded:
            endProgram(EXIT_SUCCESS);
            return;
        case zarn::TransferEnd::Failed:
            endProgram(EXIT_FAILURE);
            return;
        }
    } catch (const std::exception& error) {
        // An exception cannot pass through Qt's event loop: report it here as the run-time error.
        m_messages.showMessage(runtimeErrorReport(error.what()));
        endProgram(EXIT_FAILURE);
    }
}

void MainWindow::endProgram(int exitStatus)
{
    QCoreApplication::exit(exitStatus);
}

} // namespace zarn::qt
