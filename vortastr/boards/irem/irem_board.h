#pragma once
// The Irem V30 boards: RType I (Japanese and world), RType II, RType Leo, MasterT, In The Hunt,
// Legend of Hero Tonma, Dragon Breed, Kengo and game 38.
//
// The processor sees a flat 1 MB address space with no memory handlers; every byte of it is
// read and written directly, program ROM included. Memory map of the RType board (from the
// public technical notes on this board family; the later games move the tile RAM and the tile
// palette as noted):
//
//   0x00000-0x3FFFF  program ROM (RType; 0x7FFFF for the larger boards)
//   0x40000-0x43FFF  work RAM (RType)
//   0xB0000          raster-interrupt flag byte read by the two-slice boards
//   0xC0000-0xC03FF  sprite RAM: 128 entries of four words
//   0xC8000-0xC8BFF  sprite palette: red, green, blue planes of 256 words (5 bits used)
//   0xCC000-0xCCBFF  tile palette (RType II and Kengo: 0xD8000)
//   0xD0000-0xD3FFF  first tile layer, 64 x 64 cells of two words (Kengo: 0xAC000)
//   0xD8000-0xDBFFF  second tile layer (RType II and Kengo: first layer + 0x4000)
//   0xFFFF0-0xFFFFF  reset vector, a copy of the last 16 bytes of the program ROM
//
// I/O ports, read (inputs active low):
//   0 player 1, 1 player 2, 2 start keys, 3 and 6 read 0xFF, 4 and 5 the dip switches,
//   every other port 0.
// I/O ports, written: every byte is kept in the port table; 0 is RType II's sound command,
//   0x80-0x83 the first layer's y and x scroll, 0x84-0x87 the second layer's.
#include "boards/board.h"
#include "boards/irem/irem_state.h"

#include <array>
#include <cstdint>

namespace vortastr::irem {

using IremState = IremV30State;

constexpr uint16_t kPortPlayer1 = 0x00;
constexpr uint16_t kPortPlayer2 = 0x01;
constexpr uint16_t kPortSystem = 0x02;
constexpr uint16_t kPortDipA = 0x04;
constexpr uint16_t kPortDipB = 0x05;
constexpr uint16_t kPortSoundCommand = 0x00; // RType II
constexpr uint16_t kPortScrollFirstY = 0x80; // low byte; 0x81 the high byte
constexpr uint16_t kPortScrollFirstX = 0x82;
constexpr uint16_t kPortScrollSecondY = 0x84;
constexpr uint16_t kPortScrollSecondX = 0x86;
constexpr int kPortCount = 256;

constexpr uint32_t kRasterFlagAddress = 0xB0000;
constexpr uint32_t kResetVector = 0xFFFF0;
constexpr uint32_t kResetVectorBytes = 16;

constexpr int32_t kVectorFrame = 0x20;  // once a frame
constexpr int32_t kVectorRaster = 0x22; // the two-slice boards' mid-frame interrupt
constexpr int32_t kVectorLegacy = 8;    // RType Leo and In The Hunt
constexpr int32_t kNoInterrupt = 0;

// The running board's registers (board().family.iremV30).
IremV30State& iremState();

// The board functions the V30 engine calls.
uint8_t portRead(uint16_t port);
void portWrite(uint16_t port, uint8_t value);

// Where the last 16 bytes of the game's program ROM lie; they are copied to 0xFFFF0 after the
// program is loaded.
uint32_t resetVectorSource(GameId game);
void copyResetVector(GameId game, uint8_t* memory, std::size_t size);

// True when every program file the game loads (the fallback set when the first set is absent)
// holds its full size: a short program leaves the reset vector and code unfilled, so the
// board is not started from it.
bool programFilesComplete(GameId game);

// The family's part of the board set-up once the program is in memory: the reset vector copy,
// the port functions of the V30 engine, the screen, fresh renderer caches. False when a
// program file is short.
bool setUpBoard(Board& board);

// The answer for `game` after a slice (board.currentSlice, from 0): a V30 vector number, or 0
// for none.
int32_t interruptRule(GameId game, Board& board);

// Screen: 64 columns; 32 rows (MasterT 34, In The Hunt 64). The background map is 64 cells wide
// and 128 high (Legend of Hero Tonma 256).
struct IremScreen {
    int32_t tileColumns = 64, tileRows = 32;
    int32_t widthFactor = 64, heightFactor = 128;
};
IremScreen iremScreen(GameId game);

} // namespace vortastr::irem
