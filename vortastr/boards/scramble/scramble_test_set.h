#pragma once
// The free test ROM sets of the Scramble-type boards: the assembled test program (see
// testrom/scramble_test_body.asm) cut into the program ROMs of Scramble, Tazmania and
// SuperBond, two graphics ROMs of bit planes holding 128 tiles and 32 sprites, and a colour
// PROM file. No ROM of a real game is involved.
#include "boards/game_id.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vortastr::scramble {

// Where the program keeps its tables (in ROM) and its sprite position (from work RAM).
constexpr uint16_t kAttributeTable = 0x0200; // 32 x (scroll byte, colour group)
constexpr uint16_t kShotTable = 0x0240;      // 8 x 4 bytes
constexpr uint16_t kSpriteTable = 0x0260;    // code, colour group, start x, start y
constexpr uint16_t kSpriteXOffset = 0;       // from work RAM
constexpr uint16_t kSpriteYOffset = 1;
constexpr uint8_t kFireSound = 0x21;

// Tiles 0-127 and sprites 32-63 (the bytes of tiles 128-255) are drawn on purpose.
constexpr int kDesignedTiles = 128;
constexpr int kFirstDesignedSprite = 32;
constexpr int kGraphicsRomBytes = 2048;
uint8_t testTilePen(int tile, int x, int y);
uint8_t testSpritePen(int sprite, int x, int y);

using RomImages = std::map<std::string, std::vector<uint8_t>>;
// The files of one game's folder from the assembled program of its map.
RomImages buildTestRomSet(GameId game, const std::vector<uint8_t>& program);
// Folder name of the game's set.
std::string testRomFolder(GameId game);

// Writes the Scramble, Tazmania and SuperBond sets below `folder` from the two assembled
// programs; false with a reason when a binary cannot be read or a file cannot be written.
bool writeTestRomSets(const std::string& folder, const std::string& scrambleBinary, const std::string& tazmaniaBinary,
                      std::string& error);

} // namespace vortastr::scramble
