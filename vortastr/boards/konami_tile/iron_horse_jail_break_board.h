#pragma once
// Iron Horse and Jail Break: two more Konami 6809 tile-and-sprite boards. Inputs are active low,
// every port starts from 0xFF and uses the family's key mapping (system port, two joysticks).
//
// Where the facts come from. The picture side (colour RAM 0x400 or 0x800 below the video RAM,
// Iron Horse's row scroll at 0x0020 and control latch at 0x0003 with the tile bank in bit 0 and
// the sprite-RAM select in bit 3, Jail Break's ninth scroll bit 32 bytes above the low bytes,
// both sprite entry layouts), the program ROM places, Jail Break's cleared RAM 0x0000-0x7FFF and
// its encrypted opcodes are what these boards' game programs are written against. No published
// hardware document found with a search (service manuals, schematics, board notes) lists the
// I/O decode of either board or where the video RAM itself sits: those addresses are chosen
// here, inside the pages the rest of the map leaves free, and are marked "chosen".
//
//   Iron Horse (6809, plain opcodes, FIRQ)
//     0x0000-0x00FF  reads and writes: handler; every write is stored as well
//                    0x0003 control latch: bit 0 tile bank (+1024), bit 3 sprites at 0x3000
//                           (clear: 0x3800)
//                    0x0004 interrupt enable (chosen)          0x0008 sound command (chosen)
//                    0x0010 system, 0x0011 joystick 1, 0x0012 joystick 2 (chosen)
//                    0x0018 dip A, 0x0019 dip B (chosen)
//                    0x0020-0x003F row scroll, one byte per 8-line row (255: not scrolled)
//     0x0100-0x1FFF  RAM
//     0x2000-0x23FF  colour RAM (attribute of the cell 0x400 above) (chosen)
//     0x2400-0x27FF  video RAM (tile codes), 32 x 32 cells, row x 32 + column
//     0x2800-0x3FFF  RAM; sprite RAM at 0x3000 and 0x3800 (51 entries of 5 bytes each)
//     0x4000-0xFFFF  program ROM (32 KB at 0x4000, 16 KB at 0xC000)
//
//   Jail Break (6809, encrypted opcodes, IRQ)
//     0x0000-0x07FF  colour RAM (attribute of the cell 0x800 above) (chosen)
//     0x0800-0x0FFF  video RAM (tile codes), 64 x 32 cells, row x 64 + column
//     0x1000-0x10FF  sprite RAM, 64 entries of 4 bytes (chosen)
//     0x1100-0x1FFF  RAM
//     0x2000-0x203F  row scroll: low bytes at 0x2000 + row, bit 8 in bit 0 of 0x2020 + row
//     0x2040-0x2FFF  RAM
//     0x3000-0x33FF  reads and writes: handler (chosen)
//                    writes: 0x3000 interrupt enable (not stored), 0x3100 sound command
//                    (stored); others stored
//                    reads: 0x3200 dip B, 0x3300 system, 0x3301 joystick 1, 0x3302 joystick 2,
//                    0x3303 dip A; others the memory byte
//     0x3400-0x7FFF  RAM
//     0x8000-0xFFFF  program ROM (two 16 KB files)
#include "boards/board.h"

#include <cstdint>

namespace vortastr::konamiTile {

namespace ironHorsePort {
constexpr uint16_t kControl = 0x0003; // bit 0 tile bank, bit 3 sprite RAM select
constexpr uint16_t kInterruptEnable = 0x0004;
constexpr uint16_t kSoundCommand = 0x0008;
constexpr uint16_t kSystem = 0x0010;
constexpr uint16_t kJoystick1 = 0x0011;
constexpr uint16_t kJoystick2 = 0x0012;
constexpr uint16_t kDipA = 0x0018;
constexpr uint16_t kDipB = 0x0019;
constexpr uint16_t kScroll = 0x0020; // 32 bytes
constexpr uint16_t kColourRam = 0x2000;
constexpr uint16_t kVideoRam = 0x2400;
constexpr uint16_t kSpritesSelected = 0x3000; // control bit 3 set
constexpr uint16_t kSpritesOther = 0x3800;
constexpr uint8_t kTileBankBit = 0x01;
constexpr uint8_t kSpriteSelectBit = 0x08;
} // namespace ironHorsePort

namespace jailBreakPort {
constexpr uint16_t kColourRam = 0x0000;
constexpr uint16_t kVideoRam = 0x0800;
constexpr uint16_t kSprites = 0x1000;
constexpr uint16_t kScroll = 0x2000; // low bytes; bit 8 at kScroll + 32
constexpr uint16_t kInterruptEnable = 0x3000;
constexpr uint16_t kSoundCommand = 0x3100;
constexpr uint16_t kDipB = 0x3200;
constexpr uint16_t kSystem = 0x3300;
constexpr uint16_t kJoystick1 = 0x3301;
constexpr uint16_t kJoystick2 = 0x3302;
constexpr uint16_t kDipA = 0x3303;
} // namespace jailBreakPort

// Page tables, screen (32 x 32 cells) and video layout of either board.
void setUpIronHorseJailBreak(Board& board);

uint8_t ironHorseRead(uint16_t address);
uint8_t* ironHorseWrite(uint8_t value, uint16_t address);
uint8_t jailBreakRead(uint16_t address);
uint8_t* jailBreakWrite(uint8_t value, uint16_t address);

} // namespace vortastr::konamiTile
