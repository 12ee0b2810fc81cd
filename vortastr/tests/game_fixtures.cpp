#include "tests/game_fixtures.h"

#include "shell/startup.h"

#include "boards/board_setup.h"
#include "boards/konami_bitmap/testrom/vorta_test_set.h"
#include "boards/rom_audit.h"
#include "boards/rom_files.h"
#include "shell/startup.h"
#include "video/graphics_sheet.h"

#include <atomic>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

#include <cstring>

namespace vortastr::test {

std::filesystem::path romFile(const TempFolder& folder, const std::string& name)
{
    return folder.path() / hostRomName(name);
}

void writeTestRomSet(const TempFolder& folder)
{
    std::string error;
    if (!testrom::writeVortaTestRomSet(folder.str(), error))
        throw std::runtime_error(error);
}

void writeBlankRomSet(const TempFolder& folder, GameId game)
{
    for (const ExpectedRomFile& file : expectedRomFiles(game))
        writeFile(romFile(folder, file.name), std::vector<uint8_t>(file.size, 0));
}

RunningGame::RunningGame(const std::string& romPath, const std::string& gameLine, int depth) : started(gameLine, depth)
{
    emu().run.romPath = romPath;
    loop.clock = clock.clock();
    keyStates().releaseAll();
    if (loadStartingGame(emu()) == FrameLoopResult::Quit)
        result = startFrameLoop(emu(), loop);
    else
        result = FrameLoopResult::CharacterRomsMissing;
}

RunningGame::~RunningGame()
{
    endFrameLoop(emu());
    releaseSheets();
    keyStates().releaseAll();
    inputState().run = nullptr;
    board().io = BoardIo{};
    romFiles().reportError = nullptr;
}

void RunningGame::frames(int count)
{
    for (int i = 0; i < count; ++i)
        frameLoopIteration(emu(), loop);
}

void RunningGame::play(const std::string& script, int count)
{
    loop.unpaced = true;
    std::string error;
    loop.script = parseInputScript(script, error);
    frames(count);
}

HeadlessRun runHeadless(const std::string& romPath, const std::string& gameLine, const std::string& script, int frames,
                        const std::string& saveStateAtEnd)
{
    return runHeadless(HeadlessRequest{romPath, gameLine, script, frames, "", saveStateAtEnd});
}

HeadlessRun runHeadless(const HeadlessRequest& request)
{
    Emulator emu;
    FakeHost host;
    MemoryStore store;
    LaunchOptions options;
    options.gameLine = request.gameLine;
    options.romPath = request.romPath;
    options.frames = request.frames;
    options.unpaced = true;
    options.inputScript = request.script;
    options.loadStatePath = request.loadState;
    options.saveStatePath = request.saveState;
    keyStates().releaseAll(); // keys held at the end of an earlier run would stay down
    HeadlessRun run;
    run.status = runEmulator(emu, host, store, options);
    run.messages = !host.messages.empty();
    run.shown = host.messages;
    const ScreenSurface& shot = emu.display.presented;
    run.width = shot.width();
    run.picture.assign(shot.pixels(), shot.pixels() + shot.byteCount());
    return run;
}

uint16_t pixel16(const ScreenSurface& screen, int x, int y)
{
    uint16_t value;
    std::memcpy(&value, screen.pixels() + std::size_t(y) * std::size_t(screen.pitch()) + 2 * std::size_t(x), 2);
    return value;
}

} // namespace vortastr::test
