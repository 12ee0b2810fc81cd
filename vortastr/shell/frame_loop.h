#pragma once
// The frame loop: per iteration one emulated frame of the running game (its processor slice
// by slice, the board's interrupt rule after each), the F7/F8 keys, the pending request of the
// menus, one or two window messages, a render every Nth frame, pacing to the board's frame
// rate and the frames-per-second readout.
#include "shell/command_line.h"
#include "shell/emulator.h"
#include "shell/input.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vortastr {

constexpr const char* kCantFindGameRoms = "ERROR - Can't find Game ROMs";
constexpr const char* kCantFindGameRomsOnChange = "ERROR - Can't find Game ROMS";
constexpr const char* kCantFindCharacterRoms = "ERROR - Can't find Character ROMs";
constexpr const char* kCantFindSpriteRoms = "ERROR - Can't find Sprite ROMs";

// A monotonic counter in nanoseconds and a way to wait for it; tests give a simulated one.
struct PaceClock {
    std::function<uint64_t()> now;
    std::function<void(uint64_t until)> sleepUntil;
};
PaceClock steadyPaceClock();

struct FrameLoop {
    PaceClock clock = steadyPaceClock();
    bool unpaced = false; // never wait (tests and benchmarks)
    InputScript script;
    // Pacing.
    uint64_t frequency = 1000000000; // counter ticks per second
    uint64_t lastPresent = 0;
    uint64_t ticksPerRender = 0;
    int32_t pacedFps = 0, pacedFrames = 0; // what ticksPerRender was computed from
    int32_t renderCountdown = 1;
    // Frames-per-second readout.
    uint64_t fpsLastMs = 0;
    int32_t fpsIterations = 0;
    double fpsShown = 0;
    // Counters and latches.
    int64_t frameCounter = 0; // emulated frames since the game started (or its state was loaded)
    int32_t framesBegun = 0;  // loop iterations, for the input script
    int64_t renderedFrames = 0;
    bool functionKeyLatch = false;
    GameId lastLoadedGame = NoGame;
    // Called for F7 and F8; the saved-states support by default (kStateDone after a load
    // resets the renderer caches and the frame counter).
    std::function<int(GameId)> saveState;
    std::function<int(GameId)> loadState;
    // The command line's state files: loaded before the first frame, saved after the last.
    std::string loadStatePath, saveStatePath;
    bool stateFileFailed = false; // the --save-state file could not be written
};

enum class FrameLoopResult { Quit, GameRomsMissing, CharacterRomsMissing };

// Links the board handlers and the ROM loader to this emulator (input poll, dip bytes, the
// interrupt-enable latch, messages, ROM folder).
void connectBoard(Emulator& emulator);

// Start-up's part before the loop: character and sprite sets and the palette of the game.
// CharacterRomsMissing (after its message) when the character set cannot be loaded.
FrameLoopResult loadStartingGame(Emulator& emulator);

// Entry: board set-up, screen size, extras and reset. GameRomsMissing after its messages.
FrameLoopResult startFrameLoop(Emulator& emulator, FrameLoop& loop);
// One iteration; false once the loop must end.
bool frameLoopIteration(Emulator& emulator, FrameLoop& loop);
// After the loop: the game's extras are released.
void endFrameLoop(Emulator& emulator);

// The whole loop; maxIterations > 0 ends it after that many iterations.
FrameLoopResult runFrameLoop(Emulator& emulator, FrameLoop& loop, int maxIterations);

// One emulated frame: every slice of every scheduled processor with the interrupt rule.
void runOneFrame(Emulator& emulator);
void resetMachine(Emulator& emulator);
// True when the next render is due: n frames at fps since the last one.
bool paceFrame(FrameLoop& loop, int32_t fps, int32_t frames);
void presentAndPace(Emulator& emulator, FrameLoop& loop);
void carryOutFramePendingAction(Emulator& emulator, FrameLoop& loop);
// After a saved state was loaded: the palette from its colours, renderer caches, frame counter.
void afterStateLoaded(Emulator& emulator, FrameLoop& loop);
// Draws the running game: palette RAM, the board's renderer, present.
void renderGame(Emulator& emulator);

struct GameRunResult {
    int exitStatus = 0;        // 1 when the game could not be started
    bool writeSettings = true; // false after missing character ROMs
};
// Start-up's game part: joysticks, the starting game's graphics and palette, the frame loop
// with the options' frame count, input script and pacing, and the release of the game.
GameRunResult runGame(Emulator& emulator, const LaunchOptions& options);

} // namespace vortastr
