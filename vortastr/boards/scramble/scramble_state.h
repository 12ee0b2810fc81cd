#pragma once
// The registers of a Scramble-type board that live outside the processor's address space: the
// processor record with its range lists, the two 8255s, the output latch and the graphics
// banks the renderer reads. Part of the running Board (see family_states.h).
#include "boards/state_bytes.h"
#include "cpu/z80/z80_context.h"

#include <array>
#include <cstdint>

namespace vortastr {

struct ScrambleState {
    Z80Context z80;                    // the slot's processor record
    std::array<uint8_t, 4> inputPpi{}; // port A, B, C output latches and the control word
    std::array<uint8_t, 4> soundPpi{}; // the same for the sound 8255
    std::array<uint8_t, 8> latch{};    // the 74LS259 outputs (bit 0 of each write)
    uint8_t soundCommand = 0;          // last byte written to the sound 8255's port A
    uint8_t tileBank = 0;              // 0 or 1: adds 256 to tile numbers
    uint8_t spriteBank = 0;            // adds 64 x bank to sprite codes
    uint32_t watchdogReads = 0;        // reads of the watchdog address since set-up
};

namespace scramble {
// The record's part of a saved state. The processor record travels in the slot's own section
// (the engine adapter writes its registers); its pointers belong to this run and stay.
void writeState(const ScrambleState& state, StateWriter& writer);
bool readState(ScrambleState& state, StateReader& reader);
} // namespace scramble

} // namespace vortastr
