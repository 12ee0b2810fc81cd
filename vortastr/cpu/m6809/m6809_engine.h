#pragma once
// The 6809 interpreting engine. One process-wide instance runs whichever 6809 slot the frame
// loop has loaded; a board with two 6809s swaps M6809Context records around each slice.
//
// Memory: a 128 KB block. Opcode bytes (and the byte after a 0x10/0x11 prefix) come from the
// opcode image at +0x10000, operand bytes and vectors from the data image, every other read
// and write through the context's page tables. The cycle counter is signed and engine-wide:
// a slice's overshoot is carried into the next 6809 slice, whichever slot runs it.
#include "m6809_context.h"

#include <cstdint>

namespace vortastr {

class M6809Engine {
public:
    // Stores both pointers (only `memory` is used), zeroes the counter and the registers,
    // CC = 0x50, PC from the data image's 0xFFFE. Leaves `pendingInterrupts` alone.
    void reset(uint8_t* memory, uint8_t* secondImage);
    // Registers, pending word, page tables and wait state in; the memory base from the record.
    void loadContext(const M6809Context& context);
    // The same back out, except the record's memory pointer.
    void saveContext(M6809Context& context) const;
    // Adds the budget to the counter and runs until it is negative. Returns the counter:
    // negative after a full slice, zero or positive when the slice ended early (an invalid
    // opcode or post-byte, opcode 0x3E, or a CWAI wait with nothing to wake it).
    int32_t execute(int32_t budget);

    // The running processor. CC is held in its published byte layout here; between slices the
    // frame loop sets and clears bits of state.pendingInterrupts, and board handlers may
    // acknowledge an interrupt by clearing it or change page tables during a slice.
    M6809Context state;
    int32_t counter = 0;
    uint8_t* memoryBase = nullptr;
    uint8_t* secondImage = nullptr;
};

// The engine the frame loop and the boards use.
M6809Engine& m6809Engine();

} // namespace vortastr
