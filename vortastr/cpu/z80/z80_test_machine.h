#pragma once
// A Z80 slot for the tests: a zeroed 64 KB block, a context with the registration defaults,
// and helpers to place code and run it through the engine.
#include "z80_engine.h"

#include "cpu/cpu_kind.h"

#include <cstdint>
#include <initializer_list>
#include <tuple>

namespace vortastr::testing {

// Every field of a context, for comparing two of them.
inline auto contextFields(const Z80Context& c)
{
    return std::tie(c.memory, c.readList, c.writeList, c.inputList, c.outputList, c.reserved, c.inService,
                    c.interruptMode, c.iff, c.halted, c.af, c.bc, c.de, c.hl, c.afAlt, c.bcAlt, c.deAlt, c.hlAlt, c.ix,
                    c.iy, c.sp, c.pc, c.nmiAddress, c.irqAddress, c.i, c.r);
}

struct Z80TestMachine {
    CpuMemory block = CpuMemory::allocate(CpuZ80);
    Z80Context context;

    Z80TestMachine()
    {
        context.memory = block.data();
        Z80Engine::loadContext(context);
        Z80Engine::reset();
        Z80Engine::saveContext(context);
    }

    uint8_t* mem() { return block.data(); }

    void place(uint16_t address, std::initializer_list<uint8_t> bytes)
    {
        for (uint8_t b : bytes)
            block.data()[address++] = b;
    }

    // loadContext, execute, saveContext, as the frame loop runs a slice.
    uint32_t run(uint32_t budget)
    {
        Z80Engine::loadContext(context);
        uint32_t result = Z80Engine::execute(budget);
        Z80Engine::saveContext(context);
        return result;
    }

    // Runs exactly one instruction and returns its charge.
    int32_t step()
    {
        run(0);
        return Z80Engine::cyclesThisCall();
    }

    int irq(uint8_t data)
    {
        Z80Engine::loadContext(context);
        int result = Z80Engine::irq(data);
        Z80Engine::saveContext(context);
        return result;
    }

    void nmi()
    {
        Z80Engine::loadContext(context);
        Z80Engine::nmi();
        Z80Engine::saveContext(context);
    }
};

} // namespace vortastr::testing
