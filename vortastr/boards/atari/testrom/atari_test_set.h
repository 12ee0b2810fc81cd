#pragma once
// The free test ROM sets of the Atari 6502 bitmap boards, built around the programs assembled
// from crystal_castles_test.s and tunnel_hunt_test.s. No ROM of the real games is involved.
#include "testrom/rom_packing.h"

#include <cstdint>
#include <string>

namespace vortastr::atari::testset {

// Facts of the Crystal Castles program that tests check against.
constexpr uint16_t kReadBackAddress = 0x0300;
constexpr uint16_t kBankOneByteAddress = 0x0301;
constexpr uint16_t kBankTwoByteAddress = 0x0302;
constexpr uint8_t kBankOneMarker = 0x70; // byte 0 of 136022.102: colour 7
constexpr uint8_t kSpriteCode = 1;
constexpr uint8_t kSpriteXBase = 0x40; // sprite x = H + this, sprite y = V + kSpriteYBase
constexpr uint8_t kSpriteYBase = 0x60;
// The figures drawn through the pixel registers: start, count, colour, step per write.
struct Figure {
    int x, y, count, colour, stepX, stepY;
};
constexpr Figure kFigures[] = {
    {16, 40, 8, 5, 1, 1},    // both step up
    {16, 60, 16, 6, 1, 0},   // Y held
    {40, 40, 16, 9, 0, 1},   // X held
    {80, 80, 8, 10, -1, -1}, // both step down
};
constexpr int kBankLineX = 16, kBankOneLineY = 100, kBankTwoLineY = 104, kBankLineLength = 16;

// The sets: file name inside the game folder -> contents; empty with a reason when the
// assembled program cannot be read.
testrom::RomFiles buildCrystalCastlesSet(const std::string& binaryFolder, std::string& error);
testrom::RomFiles buildTunnelHuntSet(const std::string& binaryFolder, std::string& error);
// Tunnel Hunt's catalogue entry takes its character set from the "eggs" folder.
testrom::RomFiles tunnelHuntCharacterFiles();

// Write into folder/crystalc and folder/tunnel (plus folder/eggs); the assembled programs are
// read from the build's folder. False with a reason on failure.
bool writeCrystalCastlesTestSet(const std::string& folder, std::string& error);
bool writeTunnelHuntTestSet(const std::string& folder, std::string& error);

} // namespace vortastr::atari::testset
