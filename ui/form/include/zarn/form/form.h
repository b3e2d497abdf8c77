#pragma once

// The window's behaviour without a toolkit. Form owns the editor state and answers the window's
// events; it tells its View what to show. Each front end builds its controls from the layout
// table (layout.h), turns its toolkit's events into calls on a Form and implements the View.

#include "zarn/editor_state.h"
#include "zarn/form/layout.h"
#include "zarn/transfer.h"

#include <filesystem>
#include <string_view>

namespace zarn::form {

class View;

// The labels that act as links: bold under the pointer, regular again over the bare window.
bool isLink(ControlId control);

// The controls whose text Form::start() sets before the window first shows: their texts in the
// layout table are never seen, so a window need not lay them out.
constexpr bool isFilledAtStart(ControlId control)
{
    return control == ControlId::AddressBox || control == ControlId::FileNameLabel;
}

class Form
{
public:
    // A form whose transfers use the files in `gameFolder` and that shows everything through
    // `view`, which must outlive it.
    Form(std::filesystem::path gameFolder, View& view);

    // Once, before the window first shows: the editor state as it starts, the default address in
    // the address box and no game chosen.
    void start();
    // Whether the address box may show `text`: not when its value overflows the slot address.
    bool acceptsAddressText(std::string_view text) const;
    // Every change of the address box's text, typed or set. Returns false when the form does not
    // accept the text: the change is refused and the window puts the text back.
    bool addressTextChanged(std::string_view text);
    // A click on a control: a game label chooses its game, Credits and Help show their texts,
    // Quit ends the program, the transfer buttons run their transfers. Other controls do nothing.
    void clicked(ControlId control);
    // The pointer moved over a control; a link turns bold.
    void pointerOver(ControlId control);
    // The pointer moved over the window's own background; every link turns regular.
    void pointerOverBareWindow();

    const EditorState& state() const { return m_state; }

private:
    using Transfer = TransferOutcome (*)(const EditorState&, const std::filesystem::path&,
                                         MessagePresenter&);

    void chooseGame(Game game, ControlId label);
    void runTransfer(Transfer transfer);

    std::filesystem::path m_gameFolder;
    View& m_view;
    EditorState m_state;
};

} // namespace zarn::form
