#pragma once
// The 6502 engine: interprets the 151 documented NMOS opcodes on the single context below.
// It knows nothing of boards; they reach it through the context's memory base and range lists.
#include "m6502_context.h"

#include <cstdint>

namespace vortastr {

struct M6502Engine {
    // A board has at most one 6502, so its context is used in place rather than swapped.
    static inline M6502Context context{};

    // Returned by execute when every instruction asked for ran.
    static constexpr uint32_t executeCompleted = 0x10000;

    // Registers to their power-on values, cycle total 0, PC from the word at 0xFFFC.
    // The memory base and the lists are kept.
    static void reset();

    // Runs exactly `count` instructions and returns executeCompleted. Stops in front of an
    // undocumented opcode and returns its address (PC stays on it, so later calls stop there
    // again). A count below 1 runs nothing.
    static uint32_t execute(int32_t count);

    // Interrupt entries: 0 when taken, -1 when refused (IRQ while I is set, NMI while one is
    // still in progress). A refused request is dropped, not held.
    static int irq();
    static int nmi();

    // Whole-record copies for callers that keep a context of their own.
    static void loadContext(const M6502Context& from);
    static void saveContext(M6502Context& to);
};

} // namespace vortastr
