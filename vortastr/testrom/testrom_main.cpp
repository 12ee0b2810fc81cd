// Writes a free test ROM set: vortastr_testroms OUTPUT_FOLDER [SET [PROGRAM...]]
// SET is "vorta" (the default), "crystalc" or "tunnel". The build names the assembled programs
// after the set only so that a changed program rewrites it; the generators know where they are.
#include "boards/atari/testrom/atari_test_set.h"
#include "testrom/vorta_test_set.h"

#include <iostream>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "Usage: vortastr_testroms OUTPUT_FOLDER [SET]\n";
        return 2;
    }
    const std::string set = argc >= 3 ? argv[2] : "vorta";
    std::string error;
    bool written = false;
    if (set == "vorta")
        written = vortastr::testrom::writeVortaTestRomSet(argv[1], error);
    else if (set == "crystalc")
        written = vortastr::atari::testset::writeCrystalCastlesTestSet(argv[1], error);
    else if (set == "tunnel")
        written = vortastr::atari::testset::writeTunnelHuntTestSet(argv[1], error);
    else
        error = "unknown set " + set;
    if (!written) {
        std::cerr << "vortastr_testroms: " << error << '\n';
        return 1;
    }
    return 0;
}
