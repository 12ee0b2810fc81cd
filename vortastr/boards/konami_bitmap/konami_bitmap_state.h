#pragma once
// The registers and buffers of a Konami bitmap board that live outside the processor's address
// space. Part of the running Board (see family_states.h); reset with it at every set-up.
#include "boards/game_id.h"
#include "boards/state_bytes.h"
#include "cpu/m6809/m6809_decrypt.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vortastr {

struct KonamiBitmapState {
    std::vector<uint8_t> bankBuffer;     // banked ROMs (and, for Vorta Strike, the blitter data)
    std::vector<uint8_t> decryptedBanks; // Vorta Strike: the first 48 KB of it, opcodes decrypted
    bool decrypting = false;
    M6809DecryptTable decryptTable{};
    std::array<uint8_t, 256> nibbleSwap{};
    int32_t romBank = 0;
    uint8_t scroll = 0; // Tutankham: horizontal scroll of the playfield, read by the renderer
};

namespace konamiBitmap {
// The record's part of a saved state; readState is false for bytes that are not one.
// With the registers goes the palette sync's record of the game (the palette-RAM bytes it
// has taken), so a loaded state follows palette RAM exactly as the saved run would have.
void writeState(GameId game, const KonamiBitmapState& state, StateWriter& writer);
bool readState(GameId game, KonamiBitmapState& state, std::array<uint8_t, 16>& paletteRecord, StateReader& reader);
void takePaletteRecord(GameId game, const std::array<uint8_t, 16>& paletteRecord);
} // namespace konamiBitmap

} // namespace vortastr
