#pragma once
// The registers and buffers of a Konami tile-and-sprite board that live outside the processor's
// address space. Part of the running Board (see family_states.h); reset with it at every set-up.
#include "boards/state_bytes.h"
#include "cpu/m6809/m6809_decrypt.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vortastr {

struct KonamiTileState {
    std::array<uint8_t, 2> runToggle{};  // Track'n'Field cheat mode, per panel
    std::array<uint8_t, 2> runCounter{}; // Hyper Sports cheat mode, per panel
    std::vector<uint8_t> sideBuffer;     // Rock'n'Rope: 2 KB behind 0x8001-0x82FF
    M6809DecryptTable decryptTable{};    // every board here fetches encrypted opcodes
};

namespace konamiTile {
// The record's part of a saved state: the cheat-mode counters and the side buffer's contents.
// readState is false for bytes that are not one (or a side buffer of another size).
void writeState(const KonamiTileState& state, StateWriter& writer);
bool readState(KonamiTileState& state, StateReader& reader);
} // namespace konamiTile

} // namespace vortastr
