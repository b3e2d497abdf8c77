#include "zarn/form/form.h"

#include "zarn/form/texts.h"
#include "zarn/form/view.h"
#include "zarn/number_text.h"
#include "zarn/wording.h"

#include <cstdlib>
#include <exception>
#include <string>

namespace zarn::form {
namespace {

constexpr ControlId links[] = {ControlId::PanzerGeneralLink, ControlId::AlliedGeneralLink,
                               ControlId::CreditsLink};

} // namespace

bool isLink(ControlId control)
{
    for (const ControlId link : links) {
        if (link == control) {
            return true;
        }
    }
    return false;
}

Form::Form(std::filesystem::path gameFolder, View& view)
    : m_gameFolder(std::move(gameFolder)), m_view(view)
{}

void Form::start()
{
    m_state = EditorState{};
    m_view.setAddressText(withSignPlace(m_state.slotAddress));
    m_view.setFileName(texts::noGameChosen);
}

bool Form::acceptsAddressText(std::string_view text) const
{
    return slotAddressFromText(text).has_value();
}

bool Form::addressTextChanged(std::string_view text)
{
    return setSlotAddressFromText(m_state, text);
}

void Form::clicked(ControlId control)
{
    switch (control) {
    case ControlId::PanzerGeneralLink:
        chooseGame(Game::PanzerGeneral, control);
        break;
    case ControlId::AlliedGeneralLink:
        chooseGame(Game::AlliedGeneral, control);
        break;
    case ControlId::CreditsLink:
        m_view.showMessage(texts::creditsMessage);
        break;
    case ControlId::ExportButton:
        runTransfer(&exportSlots);
        break;
    case ControlId::QuitButton:
        m_view.endProgram(EXIT_SUCCESS);
        break;
    case ControlId::ImportButton:
        runTransfer(&importSlots);
        break;
    case ControlId::HelpButton:
        m_view.showMessage(texts::helpMessage);
        break;
    default:
        break;
    }
}

void Form::pointerOver(ControlId control)
{
    if (isLink(control)) {
        m_view.setBold(control, true);
    }
}

void Form::pointerOverBareWindow()
{
    for (const ControlId link : links) {
        m_view.setBold(link, false);
    }
}

void Form::chooseGame(Game game, ControlId label)
{
    m_state.chosenGame = game;
    m_view.setBold(label, false);
    // The game labels keep the colours they were made with.
    m_view.setFileNameColour(*form::control(label).textColour);
    m_view.setFileName(std::string(executableName(game)));
}

void Form::runTransfer(Transfer transfer)
{
    try {
        switch (transfer(m_state, m_gameFolder, m_view).end) {
        case TransferEnd::StoppedEarly:
            return;
        case TransferEnd::Succeeded:
            m_view.endProgram(EXIT_SUCCESS);
            return;
        case TransferEnd::Failed:
            m_view.endProgram(EXIT_FAILURE);
            return;
        }
    } catch (const std::exception& error) {
        // Run-time errors of the core, and anything else that went wrong on the way, end the
        // program once the user has read what happened.
        m_view.showMessage(texts::runTimeErrorReport(error.what()));
        m_view.endProgram(EXIT_FAILURE);
    }
}

} // namespace zarn::form
