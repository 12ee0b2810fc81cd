#pragma once
// The Konami 6809 tile-and-sprite boards: Track'n'Field (and WhizQuiz's video), Hyper Sports,
// Rock'n'Rope and Rope Man, Circus Charlie and its second revision. Each fills its own 6809
// page tables; all inputs are active low and every port starts from 0xFF.
//
// Memory maps (pages not listed are read and written directly; ROM is writable):
//
//   Track'n'Field    0x1000-0x11FF writes: handler (0x1087 interrupt enable, 0x1100 sound)
//                    0x1200-0x12FF reads: handler (0x1200 dip B, 0x1280 system, 0x1281/0x1282
//                    run-button panels, 0x1283 dip A); program ROM 0x6000-0xFFFF
//   Hyper Sports     0x0000-0x3FFF reads and writes: handler (0x1487 interrupt enable; 0x1600
//                    dip B, 0x1680 system, 0x1681/0x1682 panels, 0x1683 dip A); ROM 0x4000-0xFFFF
//   Rock'n'Rope,     0x3000-0x30FF reads and writes: handler (0x3000 dip B, 0x3080 system, 0x3081
//   Rope Man         and 0x3082 joysticks, 0x3083 dip A; writes are dropped); 0x8000-0x82FF
//                    writes: handler (0x8087 interrupt enable, 0x8188/0x8189 the bytes at
//                    0xFFF8/0xFFF9, the IRQ vector; the rest into the 2 KB side buffer);
//                    ROM 0x6000-0xFFFF
//   Circus Charlie   0x0000-0x5FFF reads and writes: handler (0x0001 interrupt enable, 0x0400
//                    dropped; 0x1000 system, 0x1001/0x1002 joysticks, 0x1003 reads 0, 0x1400
//                    dip A, 0x1800 dip B); ROM 0x6000-0xFFFF
#include "boards/board.h"

#include <cstdint>

namespace vortastr::konamiTile {

constexpr std::size_t kRockNRopeSideBufferBytes = 0x800;

// Ports and registers.
namespace trackFieldPort {
constexpr uint16_t kInterruptEnable = 0x1087;
constexpr uint16_t kSoundCommand = 0x1100;
constexpr uint16_t kDipB = 0x1200;
constexpr uint16_t kSystem = 0x1280;
constexpr uint16_t kPanel1 = 0x1281;
constexpr uint16_t kPanel2 = 0x1282;
constexpr uint16_t kDipA = 0x1283;
} // namespace trackFieldPort

namespace hyperSportsPort {
constexpr uint16_t kInterruptEnable = 0x1487;
constexpr uint16_t kDipB = 0x1600;
constexpr uint16_t kSystem = 0x1680;
constexpr uint16_t kPanel1 = 0x1681;
constexpr uint16_t kPanel2 = 0x1682;
constexpr uint16_t kDipA = 0x1683;
} // namespace hyperSportsPort

namespace rockNRopePort {
constexpr uint16_t kDipB = 0x3000;
constexpr uint16_t kSystem = 0x3080;
constexpr uint16_t kJoystick1 = 0x3081;
constexpr uint16_t kJoystick2 = 0x3082;
constexpr uint16_t kDipA = 0x3083;
constexpr uint16_t kIgnored = 0x8000;
constexpr uint16_t kInterruptEnable = 0x8087;
constexpr uint16_t kVectorHigh = 0x8188; // stored at 0xFFF8
constexpr uint16_t kVectorLow = 0x8189;  // stored at 0xFFF9
} // namespace rockNRopePort

namespace circusCharliePort {
constexpr uint16_t kInterruptEnable = 0x0001;
constexpr uint16_t kSpriteBank = 0x0005; // bit 0: which half of the sprite RAM is shown
constexpr uint16_t kIgnored = 0x0400;
constexpr uint16_t kSystem = 0x1000;
constexpr uint16_t kJoystick1 = 0x1001;
constexpr uint16_t kJoystick2 = 0x1002;
constexpr uint16_t kReadsZero = 0x1003;
constexpr uint16_t kDipA = 0x1400;
constexpr uint16_t kDipB = 0x1800;
constexpr uint16_t kScroll = 0x1C00;
} // namespace circusCharliePort

// Set-up: the 6809 page tables of the running engine with the game's memory map, the screen
// (tiles and factors) and the video layout with a new background.
void setUpBoard(Board& board);
// The opcode image, decrypted by address; Rock'n'Rope's side buffer.
void setUpExtras(Board& board);
void releaseExtras(Board& board);
// After each slice: Track'n'Field one IRQ every ten slices, the others every slice, while the
// game enables interrupts.
int32_t interruptRule(Board& board, GameId game);

// Shared ports.
uint8_t systemPort();
uint8_t joystickPort1();
uint8_t joystickPort2();
// Run-button panel 0 or 1 of Track'n'Field (trackField) or Hyper Sports.
uint8_t runButtonPanel(int panel, bool trackField);

// Board handlers.
uint8_t trackFieldRead(uint16_t address);
uint8_t* trackFieldWrite(uint8_t value, uint16_t address);
uint8_t hyperSportsRead(uint16_t address);
uint8_t* hyperSportsWrite(uint8_t value, uint16_t address);
uint8_t rockNRopeRead(uint16_t address);
uint8_t* rockNRopeWrite(uint8_t value, uint16_t address);
uint8_t circusCharlieRead(uint16_t address);
uint8_t* circusCharlieWrite(uint8_t value, uint16_t address);

} // namespace vortastr::konamiTile
