#pragma once
// The Z80 boards of the Scramble design: Scramble (Konami map) and Tazmania and SuperBond (the
// later map of the same design, everything from 0x8000 up). One Z80 at 34133 T-states a frame
// in one slice, 60 frames per second, an NMI every frame while the NMI enable latch is set.
//
// Memory map (main Z80):
//
// | Scramble      | Tazmania, SuperBond | read                      | write                           |
// |---------------|---------------------|---------------------------|---------------------------------|
// | 0x0000-0x3FFF | 0x0000-0x7FFF       | program ROM               | ignored                         |
// | 0x4000-0x47FF | 0x8000-0x87FF       | work RAM                  | work RAM                        |
// | 0x4800-0x4BFF | 0x8800-0x8BFF       | tile RAM (32 x 32 codes)  | tile RAM                        |
// | 0x4C00-0x4FFF | 0x8C00-0x8FFF       | tile RAM again (mirror)   | tile RAM again                  |
// | 0x5000-0x503F | 0x9000-0x903F       | attribute RAM: per column a scroll byte, then a colour byte (bits 0-2) |
// | 0x5040-0x505F | 0x9040-0x905F       | sprite RAM: 8 x (x, code with flips in bits 7 and 6, colour, y) |
// | 0x5060-0x507F | 0x9060-0x907F       | shot RAM: 8 x (-, column, -, row)                           |
// | 0x5080-0x50FF | 0x9080-0x90FF       | object RAM, unused by the video                             |
// | 0x6800-0x6807 | 0xA800-0xA807       | -                         | output latch, bit 0 of the byte: |
// |               |                     |                           |  +1 NMI enable                   |
// |               |                     |                           |  +2 coin counter, +3 blue background, +4 stars |
// |               |                     |                           |  +6 flip x, +7 flip y; +0 and +5 unknown |
// | 0x7000        | 0xB000              | watchdog reset            | -                               |
// | 0x8100-0x8103 | 0x9800-0x9803       | input 8255: A = IN0, B = IN1, C = IN2, control | control word and latches |
// | 0x8200-0x8203 | 0xA000-0xA003       | sound 8255: C = protection | A = sound command, B = control |
//
// Input ports (active low; a dip switch that is on reads 0):
//   IN0: bit 0 up, bit 1 second button (Shift), bit 2 unknown (reads 1), bit 3 fire (Ctrl),
//        bit 4 right, bit 5 left, bit 6 coin 2 (unused, 1), bit 7 coin 1 (key 3)
//   IN1: bits 0-1 dip bank A bits 0-1 (lives), bits 2-5 the cocktail player's controls (not
//        polled, 1), bit 6 start 2 (key 2), bit 7 start 1 (key 1)
//   IN2: bit 0 unknown (1), bits 1-3 dip bank B bits 0-2 (coinage and cabinet), bit 4 unknown
//        (1), bit 5 protection (1), bit 6 down, bit 7 protection (1)
// So the dip switches are decoded at two addresses: IN1 (bank A) and IN2 (bank B).
//
// Where the facts come from: the object RAM split into attributes (32 scroll/colour pairs),
// sprites and shots, the active-low switch ports and the 74LS259 output latch with its NMI
// enable are those of the Galaxian design as given by the "Galaxian memory map" that
// collectors compiled from the schematics on rec.games.video.arcade.collecting (published at
// coinop.org). Scramble keeps that design with its RAM at 0x4000-0x50FF (tile RAM and object
// RAM at the addresses the renderer reads), the latch at 0x6800, the watchdog at 0x7000 and two
// 8255 PPIs, one for the switches and one for the sound board; the Super Cobra-type board of
// Tazmania and SuperBond moves RAM to 0x8000 and the PPIs, latch and watchdog to 0x9800,
// 0xA000, 0xA800 and 0xB000. These block addresses are the ones the boards' schematics and
// operator's manuals are known for; no document that the search reached spells them out, nor
// the meaning of every switch bit. The bits marked unknown read 1, the protection bits read 1
// (the games' protection checks are not modelled), and the directions, buttons, starts, coin
// and dip bits are placed as listed above. None of these boards has a graphics bank latch
// (their two graphics ROMs hold one bank of 256 tiles and 64 sprites): the tile and sprite
// banks the renderer reads stay 0. The flip and star outputs are kept, not drawn.
#include "boards/board.h"

#include <cstdint>

namespace vortastr::scramble {

// Addresses of one of the two maps.
struct ScrambleMap {
    uint16_t romEnd;       // last ROM address
    uint16_t workRam;      // 2 KB
    uint16_t tileRam;      // 1 KB, mirrored in the next 1 KB
    uint16_t attributeRam; // 64 bytes, then sprites (32) and shots (32)
    uint16_t latch;        // 8 outputs
    uint16_t watchdog;
    uint16_t inputPpi; // 4 registers
    uint16_t soundPpi; // 4 registers
};

constexpr ScrambleMap kScrambleMap{0x3FFF, 0x4000, 0x4800, 0x5000, 0x6800, 0x7000, 0x8100, 0x8200};
constexpr ScrambleMap kTazmaniaMap{0x7FFF, 0x8000, 0x8800, 0x9000, 0xA800, 0xB000, 0x9800, 0xA000};

constexpr uint16_t kSpriteRamOffset = 0x40; // from the attribute RAM
constexpr uint16_t kShotRamOffset = 0x60;
constexpr uint16_t kObjectRamBytes = 0x100;
constexpr uint16_t kTileRamBytes = 0x400;
constexpr uint16_t kWorkRamBytes = 0x800;

// Outputs of the latch.
enum LatchOutput : int {
    LatchNmiEnable = 1,
    LatchCoinCounter = 2,
    LatchBlueBackground = 3,
    LatchStars = 4,
    LatchFlipX = 6,
    LatchFlipY = 7
};

// Bits of the input ports (active low).
namespace in0 {
constexpr uint8_t kUp = 0x01, kButton2 = 0x02, kFire = 0x08, kRight = 0x10, kLeft = 0x20, kCoin1 = 0x80;
}
namespace in1 {
constexpr uint8_t kDipMask = 0x03, kStart2 = 0x40, kStart1 = 0x80;
}
namespace in2 {
constexpr uint8_t kDipMask = 0x0E, kDipShift = 1, kDown = 0x40;
}

const ScrambleMap& mapOf(GameId game);

// Set-up: the Z80 range lists of the game's map, the screen (32 x 32 tiles) and the slot's
// processor record.
void setUpBoard(Board& board);
// After each slice: an NMI while the game enables it.
int32_t interruptRule(Board& board);

// Board handlers (public for tests): the value a read gives, the effect of a write.
uint8_t readInputPort(const Board& board, int port); // port 0, 1, 2 = IN0, IN1, IN2
uint8_t readRegister(Board& board, uint16_t address);
void writeRegister(Board& board, uint16_t address, uint8_t value);

} // namespace vortastr::scramble
