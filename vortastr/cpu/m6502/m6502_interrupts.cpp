// Reset, the two interrupt entries and the context copies.
#include "m6502_engine.h"
#include "m6502_memory.h"

namespace vortastr {

namespace {

// Pushes PC and P (B clear: only BRK pushes it set), sets I and jumps through the vector.
void enterInterrupt(M6502Context& ctx, uint16_t vector)
{
    using namespace m6502;
    pushByte(ctx.memory, ctx.s, uint8_t(ctx.pc >> 8));
    pushByte(ctx.memory, ctx.s, uint8_t(ctx.pc));
    pushByte(ctx.memory, ctx.s, uint8_t((ctx.p & ~m6502B) | m6502U));
    ctx.p = uint8_t((ctx.p & ~m6502B) | m6502I | m6502U);
    ctx.pc = readWord(ctx.memory, vector);
    ctx.cycleTotal += 7;
}

} // namespace

void M6502Engine::reset()
{
    M6502Context& ctx = context;
    ctx.nmiInProgress = 0;
    ctx.x = 0;
    ctx.y = 0;
    ctx.s = 0xFF;
    ctx.cycleTotal = 0;
    ctx.a = 0;
    ctx.p = m6502U | m6502Z;
    ctx.pc = ctx.memory ? m6502::readWord(ctx.memory, 0xFFFC) : 0;
}

int M6502Engine::irq()
{
    M6502Context& ctx = context;
    if ((ctx.p & m6502I) || !ctx.memory)
        return -1;
    enterInterrupt(ctx, 0xFFFE);
    return 0;
}

int M6502Engine::nmi()
{
    M6502Context& ctx = context;
    if (ctx.nmiInProgress || !ctx.memory)
        return -1;
    ctx.nmiInProgress = 1;
    enterInterrupt(ctx, 0xFFFA);
    return 0;
}

void M6502Engine::loadContext(const M6502Context& from) { context = from; }

void M6502Engine::saveContext(M6502Context& to) { to = context; }

} // namespace vortastr
