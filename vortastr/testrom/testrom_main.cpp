// Writes the free "Vorta Strike" test ROM set (vortastr_testroms OUTPUT_FOLDER) or, with "sound"
// after the folder, the free sample set beside it.
#include "sound/test_sample_set.h"
#include "testrom/vorta_test_set.h"

#include <iostream>

int main(int argc, char** argv)
{
    const bool sound = argc == 3 && std::string(argv[2]) == "sound";
    if (argc != 2 && !sound) {
        std::cerr << "Usage: vortastr_testroms OUTPUT_FOLDER [sound]\n";
        return 2;
    }
    std::string error;
    const bool written = sound ? vortastr::testrom::writeTestSampleSet(argv[1], error)
                               : vortastr::testrom::writeVortaTestRomSet(argv[1], error);
    if (!written) {
        std::cerr << "vortastr_testroms: " << error << '\n';
        return 1;
    }
    return 0;
}
