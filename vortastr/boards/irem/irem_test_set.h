#pragma once
// The free test ROM sets of the Irem boards: the program of irem_test.asm (assembled by the
// build for RType and for RType II) cut into the even/odd ROM pairs the loader interleaves,
// and tile and sprite ROMs in the four-plane layout the loader decodes. The graphics are
// patterns whose pens the tests compute again.
#include "testrom/rom_packing.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vortastr::irem::testset {

// Facts of the program that tests check against.
constexpr int kSpriteStartW0 = 200;
constexpr int kSpriteStartX = 180; // screen x of the moving sprite
constexpr int kSpriteStep = 2;     // pixels per frame while a direction is held
constexpr uint16_t kMovingCode = 0x821;
constexpr uint16_t kMovingAttr = 0x5C03;
constexpr uint16_t kStillCode = 0x030;
constexpr uint16_t kStillAttr = 0x5005;
constexpr uint8_t kFireSoundCommand = 0x31;

// Work RAM, where the program keeps its variables (frame counter first).
constexpr uint32_t workRam(bool rtype2) { return rtype2 ? 0xE0000u : 0x40000u; }

// The program's high-score table. An entry's score is BCD digits written as a number
// (0x00060000 is 60000 points); RType keeps the stage reached and five letters of the name,
// RType II six letters.
struct ScoreEntry {
    uint32_t score;
    uint8_t stage;
    std::string name;
};
// The defaults it writes at start-up, best first (10 entries; RType II 13).
std::vector<ScoreEntry> defaultScoreEntries(bool rtype2);
// The entry it puts in at its rank when the first start key goes down.
ScoreEntry enteredScore();
// The table's bytes as the program lays them out from the table's address: RType 115 bytes;
// RType II 135, as its first entry's name reaches five bytes past the 130 that are saved.
std::vector<uint8_t> scoreTableBytes(bool rtype2, const std::vector<ScoreEntry>& ranked);

// Pen of pixel (x, y) of tile `tile` in tile image `image` (each decode of the set is an
// image; tile 0 of image 0 is blank so that the first layer has holes).
uint8_t tilePen(int image, int tile, int x, int y);
// Pen of pixel (x, y) of sprite `sprite`; a two-pixel border of pen 0.
uint8_t spritePen(int sprite, int x, int y);

// The sets from an assembled program image: "rtype" (256 KB program), "rtypejp" (the same
// program and graphics under the Japanese set's program names) and "rtype2" (512 KB).
testrom::RomFiles buildRTypeSet(const testrom::Bytes& program);
testrom::RomFiles buildRTypeJapaneseSet(const testrom::Bytes& program);
testrom::RomFiles buildRType2Set(const testrom::Bytes& program);

// Writes the set "rtype", "rtypejp" or "rtype2" below `folder` from the assembled program; false with a
// reason when the program cannot be read, the set is unknown or a file cannot be written.
bool writeIremTestRomSet(const std::string& folder, const std::string& set, const std::string& programPath,
                         std::string& error);

} // namespace vortastr::irem::testset
