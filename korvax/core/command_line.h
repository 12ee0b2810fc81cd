// The command-line mode: the scanner without a window. Messages go to standard error with their
// caption; exit status 0 success, 1 failure, 2 usage error.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cdio_drive_access.h"

namespace korvax {

inline constexpr const char* kVersion = "0.1a";

enum class CommandKind { Gui, Help, Version, Drives, Aips, Info, UsageError };

struct Command {
    CommandKind kind = CommandKind::Gui;
    std::string source;              // --aips, --info
    std::string name;                // --info
    std::vector<std::string> images; // --drives IMAGE...
    std::string error;               // UsageError
};

// args excludes the program name. Arguments that are not options are left to the window
// (images to open) unless a command option is present.
Command parseCommandLine(const std::vector<std::string>& args);

// Runs a command other than Gui; returns the exit status.
int runCommand(const Command& command, SystemDriveAccess& access, std::ostream& out, std::ostream& err);

// Text from a disc made safe for a terminal: Latin-1 to UTF-8, control characters as '?'.
std::string printableText(const std::string& text);

// A list item made safe the same way, except that an item which is valid UTF-8 (an image's
// file name on this system) is kept as it is spelt.
std::string printableItem(const std::string& text);

const char* helpText();

} // namespace korvax
