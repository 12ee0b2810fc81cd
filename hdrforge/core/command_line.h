// The command-line mode of hdrforge: the form's operations without a window.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "nes_header.h"

namespace hdrforge {

inline constexpr const char* kVersionText = "1.00";

enum ExitStatus { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

// Runs the options in args (argv without the program name). Results go to out, errors to err.
int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Applies one "key=value" edit (prg, chr, mapper, mirroring, battery, trainer, fourscreen) to
// fields. Returns false with a message when the key or value is not valid.
bool applyFieldSetting(const std::string& setting, HeaderFields& fields, std::string& error);

// Every field of a header as "Label: value" lines; fileSize is used for a game's size check.
std::string describeHeader(const std::string& path, const HeaderBytes& bytes, std::uint64_t fileSize);

} // namespace hdrforge
