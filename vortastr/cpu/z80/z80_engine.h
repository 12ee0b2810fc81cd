#pragma once
// Z80Engine: the one Z80 interpreter of the emulator. Its state is process-wide; a board's
// Z80 slot keeps its processor in a Z80Context that the frame loop loads before each slice
// and saves after it. Budgets and costs are in T-states.
#include "z80_context.h"

#include <cstdint>

namespace vortastr {

class Z80Engine {
public:
    // What execute returns when the budget is used up or the processor is halted.
    static constexpr uint32_t sliceDone = 0x80000000u;

    // Copies a processor into the engine / back out of it.
    static void loadContext(const Z80Context& context);
    static void saveContext(Z80Context& context);

    // Clears registers, I, R, halted, in-service count, interrupt mode and IFF of the loaded
    // processor; keeps its memory block, lists and the two interrupt addresses.
    static void reset();

    // Runs instructions until the budget is used up. The instruction that crosses the budget
    // completes, so a budget of 0 runs exactly one. Returns sliceDone, or, after an opcode
    // this engine does not implement, the address it left PC on (the byte after the prefix,
    // or the operation byte of an indexed bit instruction).
    static uint32_t execute(uint32_t budget);

    // Maskable interrupt with the data byte from the bus. Returns 0 when taken, 1 when
    // refused (IFF is 0). Clears the halted flag either way. Charges no T-states.
    static int irq(uint8_t data);
    // Non-maskable interrupt to the NMI address; IFF is left alone.
    static void nmi();

    // T-states used since the current (or last) execute began; board handlers read it to
    // timestamp events inside a slice.
    static int32_t cyclesThisCall();

    // The loaded processor. Board code stores the interrupt addresses here between slices;
    // handlers must not change registers during execute (they would be overwritten).
    static Z80Context& current();
};

} // namespace vortastr
