#pragma once
// The emulator program: command line, Qt application, settings file, and the run.

namespace vortastr {

// Returns the exit status: 0 success, 1 failure, 2 usage error.
int runProgram(int argc, char** argv);

} // namespace vortastr
