#pragma once
// MegaZone: a Konami 6809 tile-and-sprite board with a 32 x 32 map that scrolls in both
// directions with wrap-around, 64 sprites, and the opcode encryption of these boards.
//
// No published hardware description of this board was found, so its port and RAM addresses
// are not documented facts. What the video rules fix is kept: the y scroll byte at 0x1000, the
// x scroll byte at 0x1800, the colour (attribute) RAM 0x800 above the video RAM, sprite
// entries of 4 bytes (attribute, x, code, y); program ROM 0x6000-0xFFFF. The rest is this
// program's choice, laid out as the other boards of the family are:
//
//   0x0000-0x00FF  reads and writes: handler (other bytes are stored and read back)
//                    writes: 0x0007 interrupt enable (bit 0 of the latch = byte != 0; a 0
//                            drops a pending IRQ), 0x0010 sound command
//                    reads:  0x0080 system, 0x0081 joystick 1, 0x0082 joystick 2, 0x0083 dip A,
//                            0x0084 dip B
//   0x1000         y scroll: background (0, 0) is shown at screen line 255 - value
//   0x1800         x scroll: background (0, 0) is shown at screen column value (both bytes 0:
//                  the picture stands unmoved)
//   0x2000-0x23FF  video RAM (tile codes; cell (k, j) of the screen at 992 + j - 32 k)
//   0x2800-0x2BFF  colour RAM (bit 7 tile bank, 6 y flip, 5 x flip, 0-3 colour group)
//   0x3000-0x30FF  sprite RAM: 64 entries of attribute, x, code, y
//   0x3800-0x5FFF  work RAM
//   0x6000-0xFFFF  program ROM (five 8 KB files), opcodes encrypted
//
// The I/O page at 0x0000-0x00FF is laid out the same way on Shaolin's Road (shaolin_board.h).
#include "boards/board.h"
#include "boards/konami_tile/konami_tile_video.h"
#include "cpu/m6809/m6809_context.h"

#include <cstdint>

namespace vortastr::konamiTile {

namespace ioPagePort {
constexpr uint16_t kSystem = 0x0080;
constexpr uint16_t kJoystick1 = 0x0081;
constexpr uint16_t kJoystick2 = 0x0082;
constexpr uint16_t kDipA = 0x0083;
constexpr uint16_t kDipB = 0x0084;
} // namespace ioPagePort

namespace megaZonePort {
constexpr uint16_t kInterruptEnable = 0x0007;
constexpr uint16_t kSoundCommand = 0x0010;
constexpr uint32_t kScrollY = 0x1000;
constexpr uint32_t kScrollX = 0x1800;
constexpr uint32_t kVideoRam = 0x2000;
constexpr uint32_t kSpriteRam = 0x3000;
} // namespace megaZonePort

void setUpMegaZone(Board& board);
// The whole address space direct with the I/O page over it (reads through ioPageRead, writes
// through `write`), the 32 x 32 screen and the video layout: MegaZone's and Shaolin's Road's.
void setUpIoPageBoard(Board& board, M6809WriteHandler write);
// The input ports of the I/O page; other addresses read the memory byte.
uint8_t ioPageRead(uint16_t address);
uint8_t* megaZoneWrite(uint8_t value, uint16_t address);

// The 32 x 32 map turned a quarter: screen cell (k, j) from byte 992 + j - 32 k, its attribute
// `attrDistance` bytes above; tile = code + 256 x bit 7, group = bits 0-3, and with `flips`
// bit 5 mirrors left-right and bit 6 top-bottom.
void turnedMapTiles(const TileFrame& frame, std::size_t attrDistance, bool flips);
// The whole 256 x 256 background with wrap-around in both directions: screen (x, y) shows
// background ((x - ch) mod 256, (y - (255 - c)) mod 256); both bytes 0 show it unmoved.
void megaZoneScroll(const TileFrame& frame);
void megaZoneSprites(const TileFrame& frame);

} // namespace vortastr::konamiTile
