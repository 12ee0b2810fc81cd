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
    emu.run.dips = {static_cast<uint8_t>(emu.settings.savedDipA[static_cast<std::size_t>(emu.run.currentGame)]),
                    static_cast<uint8_t>(emu.settings.savedDipB[static_cast<std::size_t>(emu.run.currentGame)])};
}

} // namespace vortastr::test
