// Writes the free test ROM sets: vortastr_testroms OUTPUT_FOLDER [GAME_FOLDER]. With a game
// folder ("vorta", "trackfld", ...) only that set, with "sound" the free sample set, else every set.
#include "boards/konami_tile/tile_test_sets.h"
#include "sound/test_sample_set.h"
#include "testrom/vorta_test_set.h"

#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::cerr << "Usage: vortastr_testroms OUTPUT_FOLDER [GAME_FOLDER|sound]\n";
        return 2;
    }
    const std::string folder = argv[1];
    const std::string game = argc == 3 ? argv[2] : "";
    std::string error;
    bool written = true;
    if (game.empty() || game == "sound")
        written = vortastr::testrom::writeTestSampleSet(folder, error);
    if (written && (game.empty() || game == "vorta"))
        written = vortastr::testrom::writeVortaTestRomSet(folder, error);
    if (written && game != "vorta" && game != "sound")
        written = vortastr::testrom::writeTileTestRomSets(folder, game, error);
    if (!written) {
        std::cerr << "vortastr_testroms: " << error << '\n';
        return 1;
    }
    return 0;
}
