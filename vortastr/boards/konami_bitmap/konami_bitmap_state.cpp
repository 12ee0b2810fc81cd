#include "boards/konami_bitmap/konami_bitmap_state.h"

namespace vortastr::konamiBitmap {

// The bank buffers and decryption tables come from the ROMs and are rebuilt by the set-up;
// only the registers the program changes are kept.
void writeState(const KonamiBitmapState& s, StateWriter& w) { w << s.romBank << s.scroll << s.decrypting; }

bool readState(KonamiBitmapState& s, StateReader& r)
{
    r >> s.romBank >> s.scroll >> s.decrypting;
    return r.ok() && r.atEnd() && s.romBank >= 0 && s.romBank <= 0xFF;
}

} // namespace vortastr::konamiBitmap
