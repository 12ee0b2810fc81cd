// Program entry of the emulator.
#include "platform/program.h"

int main(int argc, char** argv) { return vortastr::runProgram(argc, argv); }
