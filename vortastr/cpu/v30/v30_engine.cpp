#include "v30_engine.h"

#include "v30_interrupt.h"

namespace vortastr::v30 {

void V30Engine::reset(uint8_t* memory)
{
    V30Context fresh;
    fresh.memory = memory;
    fresh.setSegment(CS, 0xFFFF);
    decomposeFlags(fresh, 0);
    loadContext(fresh);
}

void V30Engine::loadContext(const V30Context& context) { static_cast<V30Context&>(state_) = context; }

void V30Engine::saveContext(V30Context& context) const { context = static_cast<const V30Context&>(state_); }

void V30Engine::setPortHandlers(PortRead portRead, PortWrite portWrite)
{
    state_.portRead = portRead;
    state_.portWrite = portWrite;
}

void V30Engine::requestInterrupt(uint32_t vector)
{
    state_.pendingVector = vector & 0xFF;
    takePendingInterrupt();
}

void V30Engine::takePendingInterrupt()
{
    if (state_.pendingVector == 0 || !state_.interruptFlag || !state_.memory)
        return;
    // Entries happen between slices, before the counter is set to a new budget, so the
    // cost never shortens a slice.
    enterInterrupt(state_, uint8_t(state_.pendingVector));
    state_.cycles -= interruptEntryCycles;
    state_.pendingVector = 0;
}

V30Engine& v30Engine()
{
    static V30Engine engine;
    return engine;
}

} // namespace vortastr::v30
