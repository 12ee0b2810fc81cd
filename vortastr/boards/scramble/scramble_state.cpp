#include "boards/scramble/scramble_state.h"

#include <algorithm>

namespace vortastr::scramble {

void writeState(const ScrambleState& s, StateWriter& w)
{
    w << s.inputPpi << s.soundPpi << s.latch << s.soundCommand << s.tileBank << s.spriteBank << s.watchdogReads;
}

bool readState(ScrambleState& s, StateReader& r)
{
    r >> s.inputPpi >> s.soundPpi >> s.latch >> s.soundCommand >> s.tileBank >> s.spriteBank >> s.watchdogReads;
    const bool outputsAreBits = std::all_of(s.latch.begin(), s.latch.end(), [](uint8_t v) { return v <= 1; });
    return r.ok() && r.atEnd() && outputsAreBits && s.tileBank <= 1;
}

} // namespace vortastr::scramble
