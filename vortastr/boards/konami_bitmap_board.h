#pragma once
// The Konami 6809 bitmap boards: "Vorta Strike" (9), its bootleg (10) and Tutankham (8).
// A 256 x 256 bitmap of 4-bit pixels in the first 32 KB, I/O registers at 0x8000-0x87FF, a
// 4 KB banked ROM window at 0x9000 and the program ROM above.
#include "boards/board.h"

namespace vortastr {

constexpr uint16_t kBankWindow = 0x9000;
constexpr uint32_t kBankSize = 0x1000;
constexpr uint32_t kBlitterData = 0xC000;   // offset of the blitter ROMs in the bank buffer
constexpr uint32_t kBlitterDataSize = 0x6000;
constexpr uint32_t kDecryptedBankBytes = 0xC000;

// Fills the 6809 page tables of the running engine with the board's memory map.
void mapKonamiBitmapBoard(Board& board);

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

} // namespace vortastr
