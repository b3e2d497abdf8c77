#pragma once

#include "zarn/form/layout.h"

#include <array>
#include <optional>
#include <string_view>

// What assistive technology learns about the controls that do something or hold a value, and the
// access keys that let the keyboard click the labels. The keys are invisible: no caption shows
// them.
namespace zarn::form {

struct AccessibleText
{
    ControlId id;
    std::string_view name;
    std::string_view description;
};

// clang-format off
inline constexpr std::array<AccessibleText, 8> accessibleTexts = {{
    {ControlId::ExportButton,      "EXE -> TXT",     "Copies the purchase-slot table of the chosen game executable into p_slots.txt"},
    {ControlId::QuitButton,        "Quit",           "Ends zarn"},
    {ControlId::ImportButton,      "TXT->EXE",       "Writes the purchase-slot table in p_slots.txt back into the chosen game executable"},
    {ControlId::HelpButton,        "Help",           "Explains the two transfer buttons"},
    {ControlId::PanzerGeneralLink, "Panzer General", "Chooses pg.exe to edit (Alt+P)"},
    {ControlId::AlliedGeneralLink, "Allied General", "Chooses ag.exe to edit (Alt+A)"},
    {ControlId::CreditsLink,       "Credits",        "Shows the program credits (Alt+C)"},
    {ControlId::AddressBox,        "Default Purchase Slot Address", "The byte position of the purchase-slot table in the game executable, counted from 1"},
}};
// clang-format on

// The name and description of a control, when it has them.
constexpr std::optional<AccessibleText> accessibleText(ControlId id)
{
    for (const AccessibleText& each : accessibleTexts) {
        if (each.id == id) {
            return each;
        }
    }
    return std::nullopt;
}

// Alt and a letter clicks a label.
struct AccessKey
{
    char letter; // upper case
    ControlId label;
};

inline constexpr std::array<AccessKey, 3> accessKeys = {{
    {'P', ControlId::PanzerGeneralLink},
    {'A', ControlId::AlliedGeneralLink},
    {'C', ControlId::CreditsLink},
}};

} // namespace zarn::form
