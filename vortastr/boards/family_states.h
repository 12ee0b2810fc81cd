#pragma once
// One record per board family, held by the running Board. A family with registers of its own
// (banks, scroll, sound latches) adds its record header here and one member below; everything
// in it is reset with the board and saved and restored with it around a change of game.
#include "boards/atari/atari_state.h"
#include "boards/irem/irem_state.h"
#include "boards/konami_bitmap/konami_bitmap_state.h"
#include "boards/konami_tile/konami_tile_state.h"
#include "boards/scramble/scramble_state.h"

namespace vortastr {

struct FamilyStates {
    KonamiBitmapState konamiBitmap;
    KonamiTileState konamiTile;
    ScrambleState scramble;
    AtariState atari;
    IremV30State iremV30;
};

} // namespace vortastr
