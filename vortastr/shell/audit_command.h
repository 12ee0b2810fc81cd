#pragma once
// "vortastr --audit [CODE ...] [--json] [--rompath DIR]": the ROM sets checked against the ROM
// tables and printed as text or JSON. It needs neither a window nor the settings.
#include <ostream>
#include <span>
#include <string>

namespace vortastr {

// Whether the arguments ask for the audit ("--audit" among them).
bool isAuditRequest(std::span<const std::string> args);

// Runs the audit: 0 when every requested set is complete, 1 when one is not, 2 for a usage
// error (an unknown code or option, a ROM folder that does not exist).
int runAuditCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

} // namespace vortastr
