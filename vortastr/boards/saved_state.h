#pragma once
// Saved states of any running game, in a format of this emulator's own:
//
//   header   "VSTA", format version (u16), game id (u16), section count (u16), 0 (u16),
//            then per section its tag (4 characters) and size (u32)
//   sections in the order of the header: "CPU0"/"CPU1" (each slot's cycle count, latch and
//            its engine record through the engine adapter), "MEM " (the processor's whole
//            memory block, banked windows and opcode image included), "BORD" (the common
//            registers of the board), "FAMI" (the family's registers), "PAL " (palette bank,
//            logical colours and their 8- and 16-bit forms), "ENGN" (what the engine keeps for all slots: the 6809's
//            carried cycle count)
//   CRC-32 (u32) of everything before it
//
// All numbers are little-endian. A family adds its registers through writeFamilyState /
// readFamilyState (one arm per family in saved_state.cpp).
#include "boards/board.h"
#include "video/colour_tables.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vortastr {

constexpr uint16_t kSavedStateVersion = 1;

std::vector<uint8_t> encodeSavedState(const Board& board, const ColourTables& colours);

// Puts a state back into the running board and colour tables. Nothing changes unless the
// whole file is a sound state of this game in this format; false with the reason then.
bool decodeSavedState(std::span<const uint8_t> file, Board& board, ColourTables& colours, std::string& reason);

} // namespace vortastr
