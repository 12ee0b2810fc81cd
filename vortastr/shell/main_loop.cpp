#include "shell/main_loop.h"

#include "shell/shell_host.h"

namespace vortastr {

bool pumpOneMessage(Emulator& emu)
{
    if (emu.host)
        emu.host->pumpOneMessage();
    if (emu.run.quitPosted)
        emu.run.quitRequested = true;
    return !emu.run.quitRequested;
}

} // namespace vortastr
