#pragma once
// High-score tables that outlive the emulated board: for some games the RAM region holding the
// table is written to a file in the game's folder when the game is left, and put back into RAM
// once the game has written its own default table (recognised by marker bytes).
#include "boards/game_id.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace vortastr {

// Bytes that must stand at an address before a table is installed.
struct HighScoreMarker {
    uint32_t address;
    std::span<const uint8_t> bytes;
};

struct HighScoreFile {
    const char* name;                         // below the ROM folder, folder and file ("vorta\vorta.hsc")
    uint32_t bytes;                           // size of the table
    uint32_t address;                         // where it lives in the game's processor memory
    std::span<const HighScoreMarker> markers; // all must hold; none: the first check installs
    bool readAtInstall;                       // the file is read when the markers appear, not when the game starts
};

// The game's table; null for games without one.
const HighScoreFile* highScoreFile(GameId game);

// Names of the first entry of the V30 games' own default tables: the markers of games 27, 28
// (five letters at 0x42F55) and 29 (six letters at 0xE38B5).
inline constexpr std::array<uint8_t, 5> kRTypeDefaultFirstName{'M', 'A', 'J', 'O', 'R'};
inline constexpr std::array<uint8_t, 6> kRType2DefaultFirstName{'M', 'A', 'J', 'O', 'R', ' '};

constexpr std::size_t kHighScoreBufferSize = 2048;

struct HighScoreState {
    std::array<uint8_t, kHighScoreBufferSize> buffer{};
    bool pending = false;     // bytes wait to be installed into RAM
    bool saveAllowed = false; // the game's region may be written when it is left
    // Told once per run when a file is too short to be installed (headless: standard error).
    std::function<void(const std::string&)> note;
    bool shortFileNoted = false;
};
HighScoreState& highScores();

// At the start of the game and after a reset: the file, if any, into the buffer.
void loadHighScores(GameId game);
// A restart keeps RAM, so the markers of the table the game wrote before still stand: while
// an installation is pending they are spoiled (each byte inverted), so the file goes in only
// after the restarted game has written its own table again, never before it.
void spoilHighScoreMarkers(GameId game, std::span<uint8_t> memory);
// After a slice while pending: installs once the game's markers stand in RAM.
void installHighScores(GameId game, std::span<uint8_t> memory);
// After a saved state was loaded: its RAM holds the table the game had, which nothing may
// overwrite; it is written when the game is left.
void highScoresTakenFromState();
// When leaving the game, before a reset or change of game: writes the region if allowed.
// False when a write was due and failed (the old file is then untouched).
bool saveHighScores(GameId game, std::span<const uint8_t> memory);

} // namespace vortastr
