#include "main_window.h"

#include "address_validator.h"
#include "form_fonts.h"
#include "label.h"
#include "picture_button.h"
#include "pictures.h"
#include "zarn/form/accessibility.h"
#include "zarn/form/text_fit.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPainter>
#include <QShortcut>

namespace zarn::qt {
namespace {

using form::Control;
using form::ControlId;
using form::ControlKind;

QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QColor toQColor(form::Rgb colour)
{
    return QColor(colour.red, colour.green, colour.blue);
}

// The text a control starts with: none for those the form fills as it starts.
QString startingText(const Control& control)
{
    return form::isFilledAtStart(control.id) ? QString() : toQString(control.text);
}

QWidget* createControl(const Control& control, const form::Form& form, QWidget* window)
{
    switch (control.kind) {
    case ControlKind::Label: {
        auto* label = new Label(startingText(control), formFont(control.font, control.bold),
                                form::textRoom(control.id), form::isLink(control.id), window);
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
        auto* box = new QLineEdit(window);
        box->setText(startingText(control));
        box->setValidator(new AddressValidator(form, box));
        box->setGeometry(control.left, control.top, control.width, control.height);
        return box;
    }
    case ControlKind::PictureButton: {
        auto* button = new PictureButton(picture(control.picture), startingText(control), window);
        button->setGeometry(control.left, control.top, control.width, control.height);
        return button;
    }
    }
    return nullptr;
}

} // namespace

MainWindow::MainWindow(std::filesystem::path gameFolder, MessagePresenter& messages,
                       QWidget* parent)
    : QWidget(parent), m_messages(messages), m_form(std::move(gameFolder), *this)
{
    setWindowTitle(QString::fromUtf8(form::caption));
    setFixedSize(form::clientWidth, form::clientHeight);
    setFont(formFont(form::FontSize::Default, false));
    setMouseTracking(true);

    createControls();
    orderTabs();
    addAccessKeys();
    m_form.start();
}

QWidget* MainWindow::control(ControlId id) const
{
    return m_controls[static_cast<std::size_t>(id)];
}

Label* MainWindow::label(ControlId id) const
{
    return static_cast<Label*>(control(id));
}

void MainWindow::createControls()
{
    for (const Control& each : form::controls) {
        QWidget* widget = createControl(each, m_form, this);
        m_controls[static_cast<std::size_t>(each.id)] = widget;
        // Only a move over the bare window reaches its handler; the controls keep theirs.
        widget->setAttribute(Qt::WA_NoMousePropagation);
        const ControlId id = each.id;
        auto* asLabel = qobject_cast<Label*>(widget);
        if (const auto accessible = form::accessibleText(each.id)) {
            widget->setAccessibleName(toQString(accessible->name));
            widget->setAccessibleDescription(toQString(accessible->description));
        }

        if (asLabel != nullptr) {
            connect(asLabel, &Label::clicked, this, [this, id] { m_form.clicked(id); });
            connect(asLabel, &Label::mouseMoved, this, [this, id] { m_form.pointerOver(id); });
        } else if (auto* button = qobject_cast<PictureButton*>(widget)) {
            connect(button, &QPushButton::clicked, this, [this, id] { m_form.clicked(id); });
        } else if (auto* box = qobject_cast<QLineEdit*>(widget)) {
            // The form has accepted every text that gets here: typed and pasted ones through the
            // validator before they changed the box, and the ones it sets itself.
            connect(box, &QLineEdit::textChanged, this,
                    [this](const QString& text) { m_form.addressTextChanged(text.toStdString()); });
        }
    }
    control(form::toolTipControl)->setToolTip(QString::fromUtf8(form::creditsToolTip));
}

void MainWindow::orderTabs()
{
    QWidget* previous = nullptr;
    for (const ControlId id : form::tabOrder) {
        if (!form::takesFocus(id)) {
            continue;
        }
        if (previous != nullptr) {
            setTabOrder(previous, control(id));
        }
        previous = control(id);
    }
    control(form::firstFocus)->setFocus();
}

void MainWindow::addAccessKeys()
{
    for (const form::AccessKey& key : form::accessKeys) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key(key.letter)), this);
        const ControlId id = key.label;
        connect(shortcut, &QShortcut::activated, this, [this, id] { m_form.clicked(id); });
    }
}

void MainWindow::mouseMoveEvent(QMouseEvent*)
{
    m_form.pointerOverBareWindow();
}

void MainWindow::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), toQColor(form::background));
}

void MainWindow::setAddressText(const std::string& text)
{
    static_cast<QLineEdit*>(control(ControlId::AddressBox))->setText(QString::fromStdString(text));
}

void MainWindow::setFileName(const std::string& name)
{
    label(ControlId::FileNameLabel)->setCaption(QString::fromStdString(name));
}

void MainWindow::setFileNameColour(form::Rgb colour)
{
    label(ControlId::FileNameLabel)->setTextColour(toQColor(colour));
}

void MainWindow::setBold(ControlId id, bool bold)
{
    label(id)->setBold(bold);
}

void MainWindow::showMessage(const std::string& text)
{
    m_messages.showMessage(text);
}

void MainWindow::endProgram(int exitStatus)
{
    QCoreApplication::exit(exitStatus);
}

} // namespace zarn::qt
