#include "boards/interrupt_rules.h"

#include "boards/board.h"
#include "boards/irem/irem_board.h"
#include "boards/konami_bitmap/konami_bitmap_board.h"
#include "boards/konami_tile/konami_tile_board.h"
#include "boards/scramble/scramble_board.h"

namespace vortastr {
namespace {

bool ctrlHeld()
{
    const BoardIo& io = board().io;
    return io.pollInput && (io.pollInput(InputCtrl) & InputCtrl);
}

} // namespace

int32_t interruptRule(GameId game, int32_t)
{
    Board& b = board();
    const bool ie = b.interruptsEnabled();
    switch (game) {
    case Tank: return ctrlHeld() ? m6502AnswerNmi : m6502AnswerIrq;
    case Vanguard:
    case TunnelHunt: return m6502AnswerIrq;
    case Eggs:
    case CrystalCastles: b.m6502InterruptPending = 1; return m6502AnswerIrq;
    case Zoar: return m6502AnswerNmi;
    case Tutankham:
    case VortaStrike:
    case VortaStrikeBootleg: return konamiBitmap::interruptRule(b);
    case JailBreak: b.interruptToggle ^= 1; return ie && !b.interruptToggle ? m6809AnswerIrq : 0;
    case IronHorse: b.interruptToggle ^= 1; return ie && !b.interruptToggle ? m6809AnswerFirq : 0;
    case TrackNField:
    case HyperSports:
    case RockNRope:
    case RopeMan:
    case CircusCharlie:
    case CircusCharlie2: return konamiTile::interruptRule(b, game);
    case SkyKid:
    case WhizQuiz:
    case MegaZone: return ie ? m6809AnswerIrq : 0;
    case RoadFighters: return b.io.interruptEnable && *b.io.interruptEnable ? m6809AnswerIrq : 0;
    case ShaolinsRoad: return b.io.interruptEnable && (*b.io.interruptEnable & 4) ? m6809AnswerIrq : 0;
    case Tazmania:
    case Scramble:
    case SuperBond: return scramble::interruptRule(b);
    case NewZealandStory: return 0x38;
    case RTypeJapanese:
    case RType:
    case RType2:
    case RTypeLeo:
    case MasterT:
    case InTheHunt:
    case HeroTonma:
    case DragonBreed:
    case Kengo:
    case UnderCps: return irem::interruptRule(game, b);
    default: return 0; // Pandora's Palace and the rest: none
    }
}

} // namespace vortastr
