#pragma once
// Files the emulator writes beside a game's ROMs (high scores, saved states).
#include <string>

namespace vortastr {

// The host path for writing a name given as "folder\file" below the ROM folder: an existing
// file (matched without regard to case) is replaced where it is; a new one goes into the game's
// folder as found on disk, under the name as written.
std::string gameFilePath(const std::string& name);

} // namespace vortastr
