#include "boards/konami_tile/konami_tile_state.h"

#include <algorithm>

namespace vortastr::konamiTile {

// The decryption table is rebuilt by the set-up; the side buffer is RAM the program fills, so
// its bytes go with the state (its size is fixed by the game, zero where there is none).
void writeState(const KonamiTileState& s, StateWriter& w)
{
    w << s.runToggle << s.runCounter << uint32_t(s.sideBuffer.size());
    w.append(s.sideBuffer);
}

bool readState(KonamiTileState& s, StateReader& r)
{
    uint32_t sideBytes = 0;
    r >> s.runToggle >> s.runCounter >> sideBytes;
    if (!r.ok() || sideBytes != s.sideBuffer.size())
        return false;
    const auto side = r.take(sideBytes);
    std::copy(side.begin(), side.end(), s.sideBuffer.begin());
    return r.ok() && r.atEnd() && s.runToggle[0] <= 1 && s.runToggle[1] <= 1 && s.runCounter[0] <= 7 &&
           s.runCounter[1] <= 7;
}

} // namespace vortastr::konamiTile
