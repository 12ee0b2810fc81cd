#pragma once
// The Konami 6809 bitmap boards: Tutankham, "Vorta Strike" and its bootleg. One 6809 at 34133
// cycles a frame in one slice, 60 frames per second, a 256 x 256 bitmap of 4-bit pixels.
//
// Memory map (the processor's 64 KB; pages of 256 bytes):
//
// | addresses     | read                              | write                                  |
// |---------------|-----------------------------------|----------------------------------------|
// | 0x0000-0x7FFF | direct: bitmap (256 lines of 128 bytes, two pixels a byte) and work RAM | direct |
// | 0x8000-0x87FF | board read: palette RAM (0x8000-0x800F), ports below, else the RAM byte | board write: registers
// below, else store | | 0x8800-0x8FFF | direct: RAM                       | direct                                 | |
// 0x9000-0x9FFF | direct: banked ROM window (4 KB)  | direct                                 | | 0xA000-0xFFFF |
// direct: program ROM               | board write, whose default stores the byte |
//
// "Vorta Strike" ports: 0x8010 dip bank B (inverted), 0x8020 system (coin, starts), 0x8024
// player 1, 0x8028 player 2, 0x802C dip bank A (inverted). Registers: 0x8030 interrupt enable,
// 0x8050 sound command, 0x8060 bank select, 0x8070-0x8073 blitter (a write to 0x8073 runs it).
// Tutankham ports: 0x8160 dip B, 0x8180 system, 0x81A0 player 1, 0x81C0 player 2, 0x81E0 dip A.
// Registers: 0x8100 scroll, 0x8200 interrupt enable, 0x8300 bank select, 0x8700 sound command.
// Ports read active low; bit 7 of the player ports always reads 0.
//
// Program ROM: "Vorta Strike" 0xA000-0xFFFF (three 8 KB files), its opcodes encrypted by
// address; Tutankham 0x9000-0xFFFF (seven 4 KB files, the first fills the bank window until
// the first bank select).
#include "boards/board.h"
#include "boards/rom_sets.h"

namespace vortastr::konamiBitmap {

constexpr uint16_t kPaletteRam = 0x8000; // 16 colour bytes
constexpr uint16_t kBankWindow = 0x9000;
constexpr uint32_t kBankSize = 0x1000;
constexpr uint32_t kBlitterData = 0xC000; // offset of the blitter ROMs in the bank buffer
constexpr uint32_t kBlitterDataSize = 0x6000;
constexpr uint32_t kDecryptedBankBytes = 0xC000;

namespace vortaPort {
constexpr uint16_t kDipB = 0x8010;
constexpr uint16_t kSystem = 0x8020;
constexpr uint16_t kPlayer1 = 0x8024;
constexpr uint16_t kPlayer2 = 0x8028;
constexpr uint16_t kDipA = 0x802C;
constexpr uint16_t kInterruptEnable = 0x8030;
constexpr uint16_t kSoundCommand = 0x8050;
constexpr uint16_t kBankSelect = 0x8060;
constexpr uint16_t kBlitter0 = 0x8070; // destination row
constexpr uint16_t kBlitter1 = 0x8071; // destination column x 2
constexpr uint16_t kBlitter2 = 0x8072; // source, high byte
constexpr uint16_t kBlitter3 = 0x8073; // source, low byte; bit 0 draws (1) or erases (0); runs it
} // namespace vortaPort

namespace tutankhamPort {
constexpr uint16_t kScroll = 0x8100;
constexpr uint16_t kDipB = 0x8160;
constexpr uint16_t kSystem = 0x8180;
constexpr uint16_t kPlayer1 = 0x81A0;
constexpr uint16_t kPlayer2 = 0x81C0;
constexpr uint16_t kDipA = 0x81E0;
constexpr uint16_t kInterruptEnable = 0x8200;
constexpr uint16_t kBankSelect = 0x8300;
constexpr uint16_t kSoundCommand = 0x8700;
} // namespace tutankhamPort

// Set-up: the 6809 page tables of the running engine with the board's memory map, the screen
// layout (256 x 256 bitmap) and the default write.
void setUpBoard(Board& board);
// Side buffers, decryption and bank buffers of the game after setUpBoard.
void setUpExtras(Board& board);
void releaseExtras(Board& board);
// After each slice: an IRQ every second slice while the game enables interrupts.
int32_t interruptRule(Board& board);

// ROM lists.
ProgramRoms programRoms(GameId game);
SideBufferRoms sideBufferRoms(GameId game);
// The bitmap boards have no character or sprite ROMs: an empty set (a 1-unit sheet).
GraphicsSet graphicsSet();

// Board handlers.
uint8_t vortaStrikeRead(uint16_t address);
uint8_t* vortaStrikeWrite(uint8_t value, uint16_t address);
uint8_t tutankhamRead(uint16_t address);
uint8_t* tutankhamWrite(uint8_t value, uint16_t address);
// The default write of the ROM pages: stores the byte.
uint8_t* storeByteWrite(uint8_t value, uint16_t address);

// Bank selects and the blitter, as the handlers run them.
void vortaStrikeSelectBank(Board& board, uint8_t bank);
void tutankhamSelectBank(Board& board, uint8_t value);
void runBlitter(Board& board);

// Entry i = i with its nibbles swapped.
void buildNibbleSwap(std::array<uint8_t, 256>& table);

} // namespace vortastr::konamiBitmap
