#pragma once
// The free test ROM sets of the Irem boards: the program of irem_test.asm (assembled by the
// build for RType and for RType II) cut into the even/odd ROM pairs the loader interleaves,
// and tile and sprite ROMs in the four-plane layout the loader decodes. The graphics are
// patterns whose pens the tests compute again.
#include "testrom/rom_packing.h"

#include <cstdint>
#include <string>

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

// Pen of pixel (x, y) of tile `tile` in tile image `image` (each decode of the set is an
// image; tile 0 of image 0 is blank so that the first layer has holes).
uint8_t tilePen(int image, int tile, int x, int y);
// Pen of pixel (x, y) of sprite `sprite`; a two-pixel border of pen 0.
uint8_t spritePen(int sprite, int x, int y);

// The sets from an assembled program image: "rtype" (256 KB program) and "rtype2" (512 KB).
testrom::RomFiles buildRTypeSet(const testrom::Bytes& program);
testrom::RomFiles buildRType2Set(const testrom::Bytes& program);

// Writes the set "rtype" or "rtype2" below `folder` from the assembled program; false with a
// reason when the program cannot be read, the set is unknown or a file cannot be written.
bool writeIremTestRomSet(const std::string& folder, const std::string& set, const std::string& programPath,
                         std::string& error);

} // namespace vortastr::irem::testset
