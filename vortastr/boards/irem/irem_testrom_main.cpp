// Writes an Irem test ROM set: irem_testrom_writer OUTPUT_FOLDER rtype|rtypejp|rtype2 ASSEMBLED_PROGRAM
#include "boards/irem/irem_test_set.h"

#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << "Usage: irem_testrom_writer OUTPUT_FOLDER rtype|rtypejp|rtype2 ASSEMBLED_PROGRAM\n";
        return 2;
    }
    std::string error;
    if (!vortastr::irem::testset::writeIremTestRomSet(argv[1], argv[2], argv[3], error)) {
        std::cerr << "irem_testrom_writer: " << error << '\n';
        return 1;
    }
    return 0;
}
