#pragma once
// Process-wide state of Z80Engine, shared by the files of the engine and by nothing else.
#include "z80_context.h"

#include <cstdint>

namespace vortastr::z80 {

struct EngineState {
    Z80Context context;         // the loaded processor
    uint32_t remaining = 0;     // budget left in the current call
    int32_t cyclesThisCall = 0; // T-states used since the current call began
};

extern EngineState engine;

} // namespace vortastr::z80
