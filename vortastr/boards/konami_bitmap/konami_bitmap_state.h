#pragma once
// The registers and buffers of a Konami bitmap board that live outside the processor's address
// space. Part of the running Board (see family_states.h); reset with it at every set-up.
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

} // namespace vortastr
