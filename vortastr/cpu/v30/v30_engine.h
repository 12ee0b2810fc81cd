#pragma once
// V30Engine: the interpreter of the NEC V30 (the 8086 instruction set with the 80186
// additions and the V30 bit and decimal-string instructions). One instance serves every V30
// slot of a board: the frame loop copies a slot's V30Context in with loadContext, runs a
// slice with execute and copies it back with saveContext. The whole 1 MB address space is
// the slot's memory block; IN and OUT go to the board's two port functions.
#include "v30_context.h"
#include "v30_state.h"

#include <cstdint>

namespace vortastr::v30 {

class V30Engine {
public:
    // Puts the processor in its reset state on `memory` (1 MB): CS = 0xFFFF, IP = 0, so the
    // first opcode comes from linear 0xFFFF0; all other registers, IF, TF, DF, the flags and
    // the pending vector 0.
    void reset(uint8_t* memory);

    void loadContext(const V30Context& context);
    void saveContext(V30Context& context) const;

    // Takes a pending interrupt if IF allows, then runs instructions while the counter,
    // started at `budget`, stays positive. Returns the cycles used: budget minus the final
    // counter, so at least the budget (exactly the budget after HLT), and 0 for a
    // non-positive budget.
    int32_t execute(int32_t budget);

    // Makes `vector` the pending interrupt (replacing an older one) and takes it now if IF
    // is set; otherwise it waits for the first execute that finds IF set.
    void requestInterrupt(uint32_t vector);

    // The board's port functions: portRead(port) returns the byte read, portWrite(port, byte)
    // does the board's side effects. Without them reads give 0xFF and writes go nowhere.
    void setPortHandlers(PortRead portRead, PortWrite portWrite);

    // The live processor state, for diagnostics and tests.
    const V30Context& context() const { return state_; }
    V30Context& context() { return state_; }

private:
    void takePendingInterrupt();

    V30State state_;
};

// The one V30 engine of the program; every V30 slot swaps its context through it.
V30Engine& v30Engine();

} // namespace vortastr::v30
