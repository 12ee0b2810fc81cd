#pragma once
// The command line: a two-letter game code and the switches "-cheat", "-fullscreen" and
// "-window", plus the long options of this program.
#include "boards/game_catalogue.h"

#include <optional>
#include <span>
#include <string>

namespace vortastr {

struct LaunchOptions {
    std::string gameLine; // the words that are not long options, joined by blanks
    bool headless = false;
    int frames = 0;            // leave after this many loop iterations; 0 = run until closed
    std::string snapshotPath;  // PNG of the last presented screen, written at the end
    std::string romPath = "."; // folder holding the game folders
    std::string configPath;    // settings file; empty = the per-user default
    int depth = 16;            // bits per pixel of the windowed screen: 8 or 16
    std::string screenshotDir; // test mode: window and dialog pictures, then exit
    std::string inputScript;   // scripted key presses by frame ("60:Right,90:Right+Ctrl,120:-")
    bool unpaced = false;      // run frames as fast as they come (tests, demos, benchmarks)
    std::string wavPath;       // record the mixed sound of the run into this WAV file
    std::string loadStatePath; // saved state loaded before the first frame
    std::string saveStatePath; // saved state written after the last frame
};

enum class ParseStatus { Run, Help, Version, UsageError };

struct ParseResult {
    ParseStatus status = ParseStatus::Run;
    LaunchOptions options;
    std::string error;
};

// Arguments without the program name.
ParseResult parseCommandLine(std::span<const std::string> args);
std::string usageText();

// What the game line asks for. Codes are compared over the first two characters, case
// sensitive; switches are found anywhere, "-window" after "-fullscreen".
struct GameLineChoice {
    GameId game = kDefaultGame;
    bool cheat = false;
    std::optional<int32_t> fullScreen; // set only when a switch names it
};
GameLineChoice parseGameLine(const std::string& line);

} // namespace vortastr
