#pragma once
// The command `cpucheck`: conformance vectors and self-checking programs for every engine
// that registered an adapter. Kept apart from main() so tests can run it in-process.
#include <ostream>
#include <string>
#include <vector>

namespace vortastr::cpucheck {

// `args` excludes the program name. Returns the exit status: 0 all passed (or the program
// trapped where expected), 1 failures, 2 usage errors.
int runCpuCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace vortastr::cpucheck
