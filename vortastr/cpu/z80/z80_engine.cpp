// Z80Engine outside the instruction loop: the loaded processor, context swapping, reset and
// interrupt entry.
#include "z80_engine.h"

#include "z80_bus.h"
#include "z80_state.h"

namespace vortastr {

namespace z80 {

EngineState engine;

const Z80MemoryReadEntry emptyReadList[1] = {{z80ListEnd, z80ListEnd, nullptr, nullptr}};
const Z80MemoryWriteEntry emptyWriteList[1] = {{z80ListEnd, z80ListEnd, nullptr, nullptr}};
const Z80PortInputEntry emptyInputList[1] = {{z80ListEnd, z80ListEnd, nullptr, nullptr}};
const Z80PortOutputEntry emptyOutputList[1] = {{z80ListEnd, z80ListEnd, nullptr, nullptr}};

} // namespace z80

using z80::engine;

void Z80Engine::loadContext(const Z80Context& context) { engine.context = context; }

void Z80Engine::saveContext(Z80Context& context) { context = engine.context; }

Z80Context& Z80Engine::current() { return engine.context; }

int32_t Z80Engine::cyclesThisCall() { return engine.cyclesThisCall; }

void Z80Engine::reset()
{
    Z80Context& c = engine.context;
    c.halted = 0;
    c.af = c.bc = c.de = c.hl = 0;
    c.afAlt = c.bcAlt = c.deAlt = c.hlAlt = 0;
    c.i = c.r = 0;
    c.ix = c.iy = c.sp = c.pc = 0;
    c.inService = 0;
    c.interruptMode = 0;
    c.iff = 0;
}

int Z80Engine::irq(uint8_t data)
{
    Z80Context& c = engine.context;
    c.halted = 0;
    if (c.iff == 0 || c.memory == nullptr)
        return 1;
    ++c.inService;
    c.iff = 0;
    c.sp = uint16_t(c.sp - 2);
    z80::pokeWord(c.memory, c.sp, c.pc);
    if (c.interruptMode == 2)
        c.pc = z80::peekWord(c.memory, uint16_t(c.i << 8 | data));
    else
        c.pc = c.irqAddress;
    return 0;
}

void Z80Engine::nmi()
{
    Z80Context& c = engine.context;
    c.halted = 0;
    if (c.memory == nullptr)
        return;
    c.sp = uint16_t(c.sp - 2);
    z80::pokeWord(c.memory, c.sp, c.pc);
    c.pc = c.nmiAddress;
}

} // namespace vortastr
