#include "boards/atari/atari_state.h"

namespace vortastr::atari {

void writeState(const AtariState& s, StateWriter& w)
{
    w << s.pixelX << s.pixelY << s.control << s.trackballH << s.trackballV << s.verticalBlank << s.randomState;
}

bool readState(AtariState& s, StateReader& r)
{
    r >> s.pixelX >> s.pixelY >> s.control >> s.trackballH >> s.trackballV >> s.verticalBlank >> s.randomState;
    return r.ok() && r.atEnd() && s.verticalBlank <= 1;
}

} // namespace vortastr::atari
