// Writes the free test ROM sets of the Scramble-type boards:
// vortastr_scramble_testroms OUTPUT_FOLDER SCRAMBLE_PROGRAM TAZMANIA_PROGRAM
#include "boards/scramble/scramble_test_set.h"

#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << "Usage: vortastr_scramble_testroms OUTPUT_FOLDER SCRAMBLE_PROGRAM TAZMANIA_PROGRAM\n";
        return 2;
    }
    std::string error;
    if (!vortastr::scramble::writeTestRomSets(argv[1], argv[2], argv[3], error)) {
        std::cerr << "vortastr_scramble_testroms: " << error << '\n';
        return 1;
    }
    return 0;
}
