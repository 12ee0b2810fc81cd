#pragma once
// The window-message step shared by every loop of the shell.
#include "shell/emulator.h"

namespace vortastr {

// Pumps one message and notices the quit message. Returns false once the loop must end.
bool pumpOneMessage(Emulator& emulator);

} // namespace vortastr
