#pragma once
// The Tunnel Hunt board as this emulator runs it: one 6502 (2 MHz on the real board) run for
// 25600 instructions a frame in one slice, 60 frames per second, an IRQ after every slice, and a
// 1-bit bitmap in the processor's RAM.
//
// Memory map (the processor's 64 KB; range lists, first match wins, any other access direct):
//
// | addresses     | read                         | write                            |
// |---------------|------------------------------|----------------------------------|
// | 0x0000-0x0BFF | direct: work RAM and stack   | direct                           |
// | 0x0C00-0x27FF | direct: bitmap, 224 columns of 32 bytes, bit n of byte m = row 255 - 8m - n | direct |
// | 0x5000-0x7FFF | direct: program ROM (six 2 KB chips) | ignored                   |
// | 0xF800-0xFFFF | direct: the last chip again, for the vectors | ignored          |
//
// Facts from the published game description (the maker's game number 136000, a 6502 at 2 MHz,
// two sound chips of the maker's POKEY family, a vertical 60 Hz screen). Those descriptions do
// not publish the addresses of the switch and sound ports, so this board decodes none: the
// program sees RAM there and reads no controls.
#include "boards/board.h"

namespace vortastr::atari {

constexpr uint32_t kTunnelBitmapStart = 0x0C00;
constexpr int kTunnelColumns = 224;
constexpr int kTunnelColumnBytes = 32;

// Set-up: the 6502 range lists (ROM writes ignored) and the 256 x 256 screen.
void setUpTunnelHunt(Board& board);

} // namespace vortastr::atari
