#include "tests/fakes.h"

#include "shell/startup.h"

namespace vortastr::test {

StartedEmulator::StartedEmulator(const std::string& gameLine, int depth)
{
    store.exists = false;
    emu.host = &host;
    LaunchOptions options;
    options.gameLine = gameLine;
    options.depth = depth;
    prepareStartUp(emu, store, options);
    host.createMainWindow(emu);
    startDisplay(emu, host);
}

} // namespace vortastr::test
