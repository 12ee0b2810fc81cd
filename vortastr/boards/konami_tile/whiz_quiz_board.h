#pragma once
// WhizQuiz: a quiz game built on the Track'n'Field main board. It keeps that board's video
// (tile RAM, row scroll, objects), its RAM (the high-score table at 0x2C00) and its program ROM
// area, so the map below is the Track'n'Field map, from the same published description of that
// main board; only the control panel differs.
//
//   0x0000-0x0FFF  RAM                                              direct
//   0x1000-0x11FF  writes: handler, every byte also stored:
//                    0x1087 interrupt enable (bit 0 of the latch = byte != 0; a 0 drops a
//                           pending IRQ), 0x1100 sound command
//   0x1200-0x12FF  reads: handler (other addresses read the memory byte):
//                    0x1200 dip B, 0x1280 system, 0x1281 joystick 1, 0x1282 joystick 2,
//                    0x1283 dip A
//   0x1800-0x1FFF  object RAM: sprite halves 0x1800 and 0x1C00, the row scroll at 0x1840 with
//                  bit 8 at 0x1C40
//   0x2000-0x2FFF  RAM (high scores 0x2C00-0x2FFF)
//   0x3000-0x3FFF  video RAM 0x3000-0x37FF, colour RAM 0x3800-0x3FFF (64 x 32 map)
//   0x6000-0xFFFF  program ROM (five 8 KB files), opcodes encrypted
//
// Unknown: the game's own control panel. No published port list for it was found; the two
// player ports use the joystick layout shared by these boards at the addresses of
// Track'n'Field's run-button panels.
#include "boards/board.h"

#include <cstdint>

namespace vortastr::konamiTile {

namespace whizQuizPort {
constexpr uint16_t kDipB = 0x1200;
constexpr uint16_t kSystem = 0x1280;
constexpr uint16_t kJoystick1 = 0x1281;
constexpr uint16_t kJoystick2 = 0x1282;
constexpr uint16_t kDipA = 0x1283;
} // namespace whizQuizPort

// Page tables (writes through Track'n'Field's handler), screen and video layout.
void setUpWhizQuiz(Board& board);
uint8_t whizQuizRead(uint16_t address);

} // namespace vortastr::konamiTile
