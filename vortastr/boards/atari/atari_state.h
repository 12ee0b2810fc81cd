#pragma once
// The registers of the Atari 6502 bitmap boards that live outside the processor's address
// space. Part of the running Board (see family_states.h); reset with it at every set-up.
#include "boards/state_bytes.h"

#include <cstdint>
#include <vector>

namespace vortastr {

struct AtariState {
    // Crystal Castles: the pixel address registers and their stepping control.
    uint8_t pixelX = 0;
    uint8_t pixelY = 0;
    uint8_t control = 0; // bit 0/1: X/Y hold; bit 2/3: X/Y step down; bit 7: sprite buffer
    // Trackball counters.
    uint8_t trackballH = 0;
    uint8_t trackballV = 0;
    uint8_t verticalBlank = 0;       // flips on every read of the switch port
    uint32_t randomState = 0;        // the board's own generator, seeded at set-up
    std::vector<uint8_t> bankBuffer; // 32 KB: two banks of 16 KB for 0xA000-0xDFFF
};

namespace atari {
// The record's part of a saved state; the bank buffer holds ROM and is rebuilt by the set-up
// (the selected bank is in the memory window, which the memory section carries).
void writeState(const AtariState& state, StateWriter& writer);
bool readState(AtariState& state, StateReader& reader);
} // namespace atari

} // namespace vortastr
