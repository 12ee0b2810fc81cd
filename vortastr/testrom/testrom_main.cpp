// Writes the free test ROM sets: vortastr_testroms OUTPUT_FOLDER [SET [PROGRAM...]]. SET is a
// game folder ("vorta", "trackfld", "crystalc", ...) or "sound" (the free sample set); without
// one, every set. The build passes the assembled programs after the set only so that a changed
// program rewrites it; the generators know where they are.
#include "boards/atari/testrom/atari_test_set.h"
#include "boards/konami_bitmap/testrom/vorta_test_set.h"
#include "boards/konami_tile/iron_horse_jail_break_test_sets.h"
#include "boards/konami_tile/joystick_test_sets.h"
#include "boards/konami_tile/tile_test_sets.h"
#include "sound/test_sample_set.h"

#include <iostream>
#include <string>

namespace {

using namespace vortastr;

// Every family's writer for the named set (an empty name: every set).
bool writeSets(const std::string& folder, const std::string& set, std::string& error)
{
    const bool all = set.empty();
    const bool tile = !all && testrom::buildTileTestRomSets().count(set) > 0;
    const bool joystick = !all && testrom::buildJoystickTestRomSets().count(set) > 0;
    const bool horseBreak = set == "ironhrse" || set == "jailbrk";
    if (all || set == "sound")
        if (!testrom::writeTestSampleSet(folder, error))
            return false;
    if (all || set == "vorta")
        if (!testrom::writeVortaTestRomSet(folder, error))
            return false;
    if (all || set == "crystalc")
        if (!atari::testset::writeCrystalCastlesTestSet(folder, error))
            return false;
    if (all || set == "tunnel")
        if (!atari::testset::writeTunnelHuntTestSet(folder, error))
            return false;
    if (all || tile)
        if (!testrom::writeTileTestRomSets(folder, set, error))
            return false;
    if (all || joystick)
        if (!testrom::writeJoystickTestRomSets(folder, set, error))
            return false;
    if (all || horseBreak)
        if (!testrom::writeHorseBreakTestRomSets(folder, set, error))
            return false;
    if (!all && !tile && !joystick && !horseBreak && set != "sound" && set != "vorta" && set != "crystalc" &&
        set != "tunnel") {
        error = "unknown set " + set;
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "Usage: vortastr_testroms OUTPUT_FOLDER [SET [PROGRAM...]]\n";
        return 2;
    }
    std::string error;
    if (!writeSets(argv[1], argc >= 3 ? argv[2] : "", error)) {
        std::cerr << "vortastr_testroms: " << error << '\n';
        return 1;
    }
    return 0;
}
