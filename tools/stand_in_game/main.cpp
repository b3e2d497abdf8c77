// Writes a stand-in for Allied General's ag.exe into the folder named on the command line, for
// trying zarn without the game: a file of the recognised length, filled with made-up bytes, that
// holds a made-up purchase-slot table where the real one lies. It is the synthetic game of the
// tests.
#include "synthetic_game.h"
#include "zarn/editor_state.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: zarn_stand_in_game FOLDER\n");
        return 2;
    }
    using namespace zarn::testing;
    const std::filesystem::path game = std::filesystem::path(argv[1]) / "ag.exe";
    const std::string bytes =
        executableWith(zarn::alliedGeneralLength, alliedGeneralOffset, regionOf(standardLists()));
    std::ofstream out(game, std::ios::binary);
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush()) {
        std::fprintf(stderr, "zarn_stand_in_game: could not write %s\n", game.c_str());
        return 1;
    }
    return 0;
}
