#pragma once
// The free test ROM set of the "Vorta Strike" board: a program that draws a title into the
// bitmap, moves a 16 x 16 blitter object with the joystick, switches ROM banks (each bank holds
// a routine that changes palette RAM and draws a marker), enables the interrupt and writes
// sound commands: Fire gives command 1, and every 16th update the next command of a script.
// No ROM of the real game is involved.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vortastr::testrom {

// Fixed facts of the program that tests check against.
constexpr uint16_t kObjectXAddress = 0x8801;   // bitmap line of the object (screen x)
constexpr uint16_t kObjectRowAddress = 0x8802; // blitter byte offset x 2 of the object
constexpr uint16_t kBankAddress = 0x8804;
constexpr uint8_t kObjectStartX = 120;
constexpr uint8_t kObjectStartRow = 128;
constexpr int kTitleFirstLine = 40;
constexpr int kTitleLines = 176;
constexpr int kTitleFirstByte = 112;
constexpr int kMarkerFirstLine = 8;
constexpr int kMarkerByte = 2;
constexpr uint8_t kBankColours[4] = {0x07, 0x38, 0xC0, 0x3F};
// The sound script: at update 16 x k the program writes command kSoundScript[k % 8]: a
// one-shot, a loop that another one-shot joins, the loops stopped, another loop, all stopped,
// a last one-shot.
constexpr int kSoundStepUpdates = 16;
constexpr uint8_t kSoundScript[8] = {0, 1, 24, 3, 27, 26, 0, 5};

// The high-score table the program writes at start, as the game does: 24 entries of a BCD
// score (3 bytes), a rank and three letters; the first entry is the board's marker, written last.
constexpr uint16_t kHighScoreTableAddress = 0x8100;
constexpr std::size_t kHighScoreTableBytes = 168;
std::vector<uint8_t> vortaDefaultHighScoreTable();

// File name (inside the game folder "vorta") -> contents, 8192 bytes each.
std::map<std::string, std::vector<uint8_t>> buildVortaTestRomSet();

// Writes the set into folder/vorta; false with a reason when a file cannot be written.
bool writeVortaTestRomSet(const std::string& folder, std::string& error);

} // namespace vortastr::testrom
