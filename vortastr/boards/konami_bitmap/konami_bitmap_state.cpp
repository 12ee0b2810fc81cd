#include "boards/konami_bitmap/konami_bitmap_state.h"

#include "boards/konami_bitmap/konami_bitmap_video.h"

namespace vortastr::konamiBitmap {
namespace {

std::array<uint8_t, 16>& recordOf(GameId game)
{
    return game == Tutankham ? paletteRecords().tutankham : paletteRecords().vortaStrike;
}

} // namespace

// The bank buffers and decryption tables come from the ROMs and are rebuilt by the set-up;
// only the registers the program changes are kept.
void writeState(GameId game, const KonamiBitmapState& s, StateWriter& w)
{
    w << s.romBank << s.scroll << s.decrypting;
    for (uint8_t byte : recordOf(game))
        w << byte;
}

bool readState(GameId, KonamiBitmapState& s, std::array<uint8_t, 16>& paletteRecord, StateReader& r)
{
    r >> s.romBank >> s.scroll >> s.decrypting;
    for (uint8_t& byte : paletteRecord)
        r >> byte;
    return r.ok() && r.atEnd() && s.romBank >= 0 && s.romBank <= 0xFF;
}

void takePaletteRecord(GameId game, const std::array<uint8_t, 16>& paletteRecord) { recordOf(game) = paletteRecord; }

} // namespace vortastr::konamiBitmap
