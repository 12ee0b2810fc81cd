#pragma once
// Test helpers for the games: temporary ROM folders (the generated test set, or blank sets of
// any game), a simulated clock for the frame loop, and an emulator with a started game.
#include "shell/frame_loop.h"
#include "temp_dir.h"
#include "tests/fakes.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vortastr::test {

// A folder removed again at the end of the test.
using TempFolder = suite::test::TempDir;
using suite::test::writeFile;
// A ROM name ("vorta\VSA_B9.BIN") below the folder, in the host's form.
std::filesystem::path romFile(const TempFolder& folder, const std::string& name);

// The generated "Vorta Strike" test set in the folder.
void writeTestRomSet(const TempFolder& folder);
// Zero-filled files of every name the game's sets use (program, side buffer, graphics).
void writeBlankRomSet(const TempFolder& folder, GameId game);

// A whole headless run (--unpaced, --frames, --input, and --save-state when a path is given) of
// a game from a ROM folder: the exit status, whether a message was shown, and the last
// presented picture.
struct HeadlessRun {
    int status = -1;
    bool messages = false;
    std::vector<Message> shown;
    int width = 0;
    std::vector<uint8_t> picture;
};
HeadlessRun runHeadless(const std::string& romPath, const std::string& gameLine, const std::string& script, int frames,
                        const std::string& saveStateAtEnd = "");
// The same with a state loaded before the first frame (--load-state) as well.
struct HeadlessRequest {
    std::string romPath, gameLine, script;
    int frames = 0;
    std::string loadState, saveState;
};
HeadlessRun runHeadless(const HeadlessRequest& request);

// Pixel (x, y) of a 16-bit screen.
uint16_t pixel16(const ScreenSurface& screen, int x, int y);

// Time moves only when the loop reads it (by `step`) or sleeps.
struct SimulatedClock {
    uint64_t now = 1000000000;
    uint64_t step = 1000; // 1 us per reading: the cost of a spin
    int sleeps = 0;
    PaceClock clock()
    {
        return {[this] { return now += step; },
                [this](uint64_t until) {
                    ++sleeps;
                    if (until > now)
                        now = until;
                }};
    }
};

// An emulator started on a game from a ROM folder, with its frame loop ready to iterate.
struct RunningGame {
    StartedEmulator started;
    FrameLoop loop;
    SimulatedClock clock;
    FrameLoopResult result = FrameLoopResult::Quit;

    RunningGame(const std::string& romPath, const std::string& gameLine, int depth = 16);
    ~RunningGame();
    Emulator& emu() { return started.emu; }
    FakeHost& host() { return started.host; }
    void frames(int count);
    // Unpaced, `count` frames with the scripted keys (parseInputScript's format).
    void play(const std::string& script, int count);
};

} // namespace vortastr::test
