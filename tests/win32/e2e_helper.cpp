// Helps the end-to-end tests of zarn.exe, which drive the program from outside as a person would.
// Usage:
//   e2e_helper folder       writes, into the current folder, a synthetic ag.exe and the files the
//                           tests compare with or import
//   e2e_helper centre NAME  prints the centre of the button or link that screen readers call NAME,
//                           in pixels of the client area

#include "synthetic_game.h"
#include "zarn/editor_state.h"
#include "zarn/form/accessibility.h"
#include "zarn/form/layout.h"

#include <cstdio>
#include <fstream>
#include <string_view>

namespace {

using namespace zarn::testing;

void writeFile(const char* name, const std::string& bytes)
{
    std::ofstream(name, std::ios::binary) << bytes;
}

void writeGameFolder()
{
    const SlotLists lists = standardLists();
    writeFile("ag.exe",
              executableWith(zarn::alliedGeneralLength, alliedGeneralOffset, regionOf(lists)));
    writeFile("expected_slots.txt", slotFileOf(lists));

    // The user replaces one unit number; the import then changes just its two bytes.
    SlotLists edited = lists;
    edited[1][0] = 513;
    writeFile("edited_slots.txt", slotFileOf(edited));
    writeFile("edited_ag.exe",
              executableWith(zarn::alliedGeneralLength, alliedGeneralOffset, regionOf(edited)));

    // An empty first line pushes the last -1 out of the items read: 645 entries.
    writeFile("wrong_count_slots.txt", "\r\n" + slotFileOf(lists));
}

int printCentre(std::string_view name)
{
    for (const zarn::form::AccessibleText& accessible : zarn::form::accessibleTexts) {
        if (accessible.name == name) {
            const zarn::form::Control& control = zarn::form::control(accessible.id);
            std::printf("%d %d\n", control.left + control.width / 2,
                        control.top + control.height / 2);
            return 0;
        }
    }
    std::fprintf(stderr, "e2e_helper: no control is named %.*s\n", static_cast<int>(name.size()),
                 name.data());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string_view command = argc > 1 ? argv[1] : "";
    if (command == "folder" && argc == 2) {
        writeGameFolder();
        return 0;
    }
    if (command == "centre" && argc == 3) {
        return printCentre(argv[2]);
    }
    std::fprintf(stderr, "usage: e2e_helper folder | e2e_helper centre NAME\n");
    return 2;
}
