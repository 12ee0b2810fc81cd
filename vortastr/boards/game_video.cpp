#include "boards/game_video.h"

#include "boards/atari/atari_video.h"
#include "boards/irem/irem_palette.h"
#include "boards/irem/irem_video.h"
#include "boards/konami_bitmap/konami_bitmap_video.h"
#include "boards/konami_tile/iron_horse_jail_break_video.h"
#include "boards/konami_tile/konami_tile_video.h"
#include "boards/scramble/scramble_video.h"

namespace vortastr {

void syncPaletteRam(GameId game, DisplayState& display, ColourTables& colours, const uint8_t* memory,
                    bool paletteCycling)
{
    switch (game) {
    case Tutankham:
    case VortaStrike:
    case VortaStrikeBootleg: konamiBitmap::syncPaletteRam(game, display, colours, memory, paletteCycling); break;
    case RTypeJapanese:
    case RType:
    case RType2:
    case MasterT:
    case HeroTonma:
    case DragonBreed:
    case Kengo: irem::syncPaletteRam(game, display, colours, memory); break;
    default: break;
    }
}

void resetRendererCaches(const Board& board)
{
    // The Konami bitmap and Atari renderers convert the whole bitmap every frame and keep no
    // cache (the bitmap boards' palette-sync record travels in the saved state). Families whose
    // renderers cache what they drew have an arm here.
    switch (board.game) {
    case IronHorse:
    case TrackNField:
    case HyperSports:
    case RockNRope:
    case RopeMan:
    case CircusCharlie:
    case JailBreak:
    case CircusCharlie2:
    case WhizQuiz:
    case MegaZone:
    case ShaolinsRoad: konamiTile::resetCaches(); break;
    case Tazmania:
    case Scramble:
    case SuperBond: scramble::resetCaches(); break;
    default: break;
    }
}

void renderFrame(DisplayState& display, const ColourTables& colours, const Board& board)
{
    if (display.suspended || !board.data())
        return;
    switch (board.game) {
    case Tutankham:
    case VortaStrike:
    case VortaStrikeBootleg: konamiBitmap::render(display, colours, board); break;
    case RTypeJapanese:
    case RType:
    case RType2:
    case RTypeLeo:
    case MasterT:
    case InTheHunt:
    case HeroTonma:
    case DragonBreed:
    case Kengo:
    case UnderCps: irem::render(display, colours, board); break;
    case TrackNField:
    case HyperSports:
    case RockNRope:
    case RopeMan:
    case CircusCharlie:
    case CircusCharlie2:
    case WhizQuiz:
    case MegaZone:
    case ShaolinsRoad: konamiTile::render(display, colours, board); break;
    case IronHorse:
    case JailBreak: konamiTile::renderHorseBreak(display, colours, board); break;
    case Tazmania:
    case Scramble:
    case SuperBond: scramble::render(display, colours, board); break;
    case CrystalCastles:
    case TunnelHunt: atari::render(display, colours, board); break;
    default: break; // the tile-and-sprite boards come with their boards
    }
}

} // namespace vortastr
