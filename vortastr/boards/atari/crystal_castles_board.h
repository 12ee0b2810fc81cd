#pragma once
// The Crystal Castles board: one 6502 run for 25600 instructions a frame in one slice, 60 frames
// per second, an IRQ after every slice. The picture is a bitmap of 4-bit pixels in the
// processor's RAM, written through three pixel address registers that step on their own.
//
// Memory map (the processor's 64 KB; range lists, first match wins, any other access direct):
//
// | addresses     | read                                   | write                                   |
// |---------------|----------------------------------------|-----------------------------------------|
// | 0x0000        | pixel X register                       | pixel X register (byte also stored)     |
// | 0x0001        | pixel Y register                       | pixel Y register (byte also stored)     |
// | 0x0002        | pixel at (X, Y) as nibble x 17, steps  | pixel at (X, Y) from the byte's high nibble, steps |
// | 0x0003-0x0BFF | direct: work RAM and stack (0x0003 through the board, stored) | direct   |
// | 0x0C00-0x7FFF | direct: bitmap, 224 lines of 128 bytes, low nibble = even pixel | direct |
// | 0x8E00/0x8F00 | direct: the two sprite buffers, 64 entries of 4 bytes (code, y, -, x) | direct |
// | 0x9500        | trackball vertical counter V           | stored                                  |
// | 0x9501        | trackball horizontal counter H         | stored                                  |
// | 0x9600        | switches: coins, start, vertical blank (bit 5), fire; acknowledges the IRQ | stored |
// | 0x980A        | pseudo-random byte                     | stored                                  |
// | 0x9A08        | options: dip bits 0-2, start buttons   | stored                                  |
// | 0x9E87        | RAM byte                               | bank select: bit 0 = 1 first bank, else second, into
// 0xA000-0xDFFF | | 0x9F00-0x9F07 | RAM byte                               | control bit n = (byte != 0); 0x9F07 picks
// the sprite buffer (set: 0x8E00) | | 0x9F80-0x9FBF | RAM byte                               | palette: byte at 0x9F80
// + (a & 0x1F), address bit 5 at 0x9FA0 + (a & 0x1F) | | 0xA000-0xFFFF | direct: program ROM (0xA000-0xDFFF banked) |
// ignored                             |
//
// Every board write stores the byte into memory first. Pixel accesses outside the bitmap
// (offset (Y << 7) | (X >> 1) below 0x0C00) do nothing and do not step: that RAM holds the
// registers' own addresses, the zero page and the stack.
#include "boards/board.h"

namespace vortastr::atari {

namespace ccPort {
constexpr uint16_t kPixelX = 0x0000;
constexpr uint16_t kPixelY = 0x0001;
constexpr uint16_t kPixel = 0x0002;
constexpr uint16_t kTrackballV = 0x9500;
constexpr uint16_t kTrackballH = 0x9501;
constexpr uint16_t kSwitches = 0x9600;
constexpr uint16_t kRandom = 0x980A;
constexpr uint16_t kOptions = 0x9A08;
constexpr uint16_t kBankSelect = 0x9E87;
constexpr uint16_t kControl0 = 0x9F00; // .. 0x9F07
constexpr uint16_t kControl7 = 0x9F07;
constexpr uint16_t kPaletteFirst = 0x9F80;
constexpr uint16_t kPaletteLast = 0x9FBF;
} // namespace ccPort

constexpr uint32_t kBitmapStart = 0x0C00;
constexpr uint32_t kBitmapEnd = 0x8000;         // the last offset accepted, as the board decodes it
constexpr uint16_t kSpriteBufferSet = 0x8E00;   // control bit 7 set
constexpr uint16_t kSpriteBufferClear = 0x8F00; // control bit 7 clear (power-on)
constexpr uint16_t kBankWindow = 0xA000;
constexpr uint32_t kBankBytes = 0x4000;
constexpr uint32_t kBankBufferBytes = 0x8000;

// Control byte bits.
constexpr uint8_t kHoldX = 0x01, kHoldY = 0x02, kDownX = 0x04, kDownY = 0x08, kSpriteBuffer = 0x80;

// Set-up: the 6502 range lists, the screen layout (256 x 256 bitmap), the generator's seed.
void setUpCrystalCastles(Board& board);
// The 32 KB bank buffer (two banks of 16 KB).
void setUpCrystalCastlesExtras(Board& board);
void releaseExtras(Board& board);

// Board handlers as the range lists call them.
uint8_t crystalCastlesRead(uint16_t address);
int crystalCastlesWrite(uint16_t address, uint8_t value);
int ignoreWrite(uint16_t address, uint8_t value);

// The pixel registers: a write or read at (X, Y), then the step the control byte asks for.
void writePixel(Board& board, uint8_t value);
uint8_t readPixel(Board& board);
// The trackball counters as a read of 0x9500 (vertical) or 0x9501 (horizontal) moves them
// under the held arrow keys (InputBit mask).
uint8_t readTrackballV(AtariState& state, uint32_t held);
uint8_t readTrackballH(AtariState& state, uint32_t held);
// A pointing device moved by (dx, dy): the counters follow it, rightward raising H, downward
// lowering V.
void moveTrackball(AtariState& state, int dx, int dy);
// The sprite buffer the renderer draws from.
uint16_t spriteBuffer(const AtariState& state);

} // namespace vortastr::atari
