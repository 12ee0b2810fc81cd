#include "boards/scramble/scramble_state.h"

namespace vortastr::scramble {

void writeState(const ScrambleState& s, StateWriter& w)
{
    for (uint8_t v : s.inputPpi)
        w << v;
    for (uint8_t v : s.soundPpi)
        w << v;
    for (uint8_t v : s.latch)
        w << v;
    w << s.soundCommand << s.tileBank << s.spriteBank << s.watchdogReads;
}

bool readState(ScrambleState& s, StateReader& r)
{
    for (uint8_t& v : s.inputPpi)
        r >> v;
    for (uint8_t& v : s.soundPpi)
        r >> v;
    for (uint8_t& v : s.latch)
        r >> v;
    r >> s.soundCommand >> s.tileBank >> s.spriteBank >> s.watchdogReads;
    bool outputsAreBits = true;
    for (uint8_t v : s.latch)
        outputsAreBits = outputsAreBits && v <= 1;
    return r.ok() && r.atEnd() && outputsAreBits && s.tileBank <= 1;
}

} // namespace vortastr::scramble
