// Writes the free "Vorta Strike" test ROM set: vortastr_testroms OUTPUT_FOLDER
#include "boards/konami_tile/tile_test_sets.h"
#include "testrom/vorta_test_set.h"

#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "Usage: vortastr_testroms OUTPUT_FOLDER\n";
        return 2;
    }
    std::string error;
    if (!vortastr::testrom::writeVortaTestRomSet(argv[1], error) ||
        !vortastr::testrom::writeTileTestRomSets(argv[1], error)) {
        std::cerr << "vortastr_testroms: " << error << '\n';
        return 1;
    }
    return 0;
}
