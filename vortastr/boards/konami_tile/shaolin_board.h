#pragma once
// Shaolin's Road: a Konami 6809 tile-and-sprite board with a still 32 x 32 map (no tile
// flips), eight sprites in four banks of 64, and plain (unencrypted) opcodes.
//
// No published hardware description of this board was found, so its port and RAM addresses
// are not documented facts. What the video and interrupt rules fix is kept: the IRQ follows
// bit 2 of the control latch, the colour (attribute) RAM lies 0x400 above the video RAM,
// sprite entries of 4 bytes (x, code and flips, colour, y) with a sprite bank register;
// program ROM 0x6000-0xFFFF (one 8 KB and two 16 KB files). The rest is this program's
// choice, laid out as MegaZone's (mega_zone_board.h):
//
//   0x0000-0x00FF  reads and writes: handler (other bytes are stored and read back)
//                    writes: 0x0000 control latch, kept whole (bit 2 IRQ enable; clearing it
//                            drops a pending IRQ), 0x0001 sprite bank (bits 0-1),
//                            0x0010 sound command
//                    reads:  0x0080 system, 0x0081 joystick 1, 0x0082 joystick 2, 0x0083 dip A,
//                            0x0084 dip B
//   0x2000-0x27FF  work RAM
//   0x2800-0x281F  sprite RAM: 8 entries of x, code (bits 0-5) and flips (7 x, 6 y), colour, y
//   0x3000-0x33FF  video RAM (tile codes; cell (k, j) of the screen at 992 + j - 32 k)
//   0x3400-0x37FF  colour RAM (bit 7 tile bank, 0-3 colour group)
//   0x6000-0xFFFF  program ROM
#include "boards/board.h"
#include "boards/konami_tile/konami_tile_video.h"

#include <cstdint>

namespace vortastr::konamiTile {

namespace shaolinPort {
constexpr uint16_t kControl = 0x0000;
constexpr uint8_t kIrqEnable = 0x04;
constexpr uint16_t kSpriteBank = 0x0001;
constexpr uint16_t kSoundCommand = 0x0010;
constexpr uint32_t kSpriteRam = 0x2800;
constexpr uint32_t kVideoRam = 0x3000;
} // namespace shaolinPort

void setUpShaolinsRoad(Board& board);
uint8_t* shaolinWrite(uint8_t value, uint16_t address);

void shaolinTiles(const TileFrame& frame);
// Eight entries, first to last, sprite (code & 63) + 64 x bank, colour group byte 2 & 7.
void shaolinSprites(const TileFrame& frame);

} // namespace vortastr::konamiTile
