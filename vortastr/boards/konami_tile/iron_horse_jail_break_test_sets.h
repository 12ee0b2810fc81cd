#pragma once
// Free test ROM sets of Iron Horse and Jail Break. Each program clears and fills its video RAM,
// reads its dip switches and ports, acknowledges its interrupt (Iron Horse's FIRQ, Jail Break's
// IRQ) and moves a flipped sprite with joystick 1 while one band of rows scrolls. Iron Horse
// draws from tile bank 1 and shows the sprite RAM at 0x3000 (a decoy waits in the other one);
// Jail Break's opcodes are encrypted the way the board decrypts them. The pieces of the picture
// are given as art placements that the end-to-end tests check the screen against.
#include "boards/konami_tile/tile_test_art.h"
#include "testrom/rom_packing.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vortastr::testrom {

enum class HorseBreakBoard { IronHorse, JailBreak };

// Facts of a program that tests check against.
struct HorseBreakFacts {
    uint16_t spriteX = 0, spriteY = 0; // addresses of the sprite entry's position bytes
    uint16_t frameCounter = 0;         // counted by the interrupt routine
    uint16_t scroll = 0;               // the band's scroll value
    uint8_t startX = 0, startY = 0;
    uint8_t spriteAttr = 0;   // attribute byte of the sprite entry (group, flips)
    bool spriteFlipX = false; // what that attribute asks for
    bool spriteFlipY = false;
    int decoyX = 0, decoyY = 0; // Iron Horse: the sprite of the RAM that is not shown
    int bandFirstRow = 0, bandRows = 0;
    int mapWidth = 256; // background width in pixels
};
HorseBreakFacts horseBreakFacts(HorseBreakBoard board);

// The fixed part of the picture (title, flips, colour groups) in screen cells, and the band in
// map cells. Tile numbers are art numbers (tileArtPen); the sprite is art sprite kSpriteCode.
std::vector<PlacedTile> horseBreakFixedTiles(HorseBreakBoard board);
std::vector<PlacedTile> horseBreakBandTiles(HorseBreakBoard board);

// The colour PROM image the Iron Horse set writes as "default.clr" beside the game folders (the
// same bytes as the other sets that write that shared file).
std::vector<uint8_t> horseColourFile();

// Folder name -> files, for "ironhrse" and "jailbrk".
RomSets buildHorseBreakTestRomSets();
// Writes one set ("ironhrse", "jailbrk") or both (empty name) under folder; false with a reason.
bool writeHorseBreakTestRomSets(const std::string& folder, const std::string& set, std::string& error);

} // namespace vortastr::testrom
