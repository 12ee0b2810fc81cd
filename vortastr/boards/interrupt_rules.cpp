#include "boards/interrupt_rules.h"

#include "boards/board.h"
#include "boards/konami_bitmap/konami_bitmap_board.h"

namespace vortastr {
namespace {

constexpr int32_t kIremAnswerNone = 0;

bool ctrlHeld()
{
    const BoardIo& io = board().io;
    return io.pollInput && (io.pollInput(InputCtrl) & InputCtrl);
}

// The two-slice Irem boards latch their scroll words at slice 0.
void latchScrollWords(Board& b)
{
    b.scrollWords[0] = static_cast<uint16_t>(b.videoIo[1] << 8 | b.videoIo[0]);
    b.scrollWords[1] = static_cast<uint16_t>(b.videoIo[3] << 8 | b.videoIo[2]);
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
    case CrystalCastles:
        b.m6502InterruptPending = 1;
        return m6502AnswerIrq;
    case Zoar: return m6502AnswerNmi;
    case Tutankham:
    case VortaStrike:
    case VortaStrikeBootleg: return konamiBitmap::interruptRule(b);
    case JailBreak:
        b.interruptToggle ^= 1;
        return ie && !b.interruptToggle ? m6809AnswerIrq : 0;
    case IronHorse:
        b.interruptToggle ^= 1;
        return ie && !b.interruptToggle ? m6809AnswerFirq : 0;
    case SkyKid:
    case HyperSports:
    case RockNRope:
    case CircusCharlie:
    case CircusCharlie2:
    case RopeMan:
    case WhizQuiz:
    case MegaZone: return ie ? m6809AnswerIrq : 0;
    case TrackNField:
        if (++b.sliceCounter < b.slicesPerFrame)
            return 0;
        b.sliceCounter = 0;
        return ie ? m6809AnswerIrq : 0;
    case RoadFighters: return b.io.interruptEnable && *b.io.interruptEnable ? m6809AnswerIrq : 0;
    case ShaolinsRoad: return b.io.interruptEnable && (*b.io.interruptEnable & 4) ? m6809AnswerIrq : 0;
    case Tazmania:
    case Scramble:
    case SuperBond: return ie ? z80AnswerNmi : z80AnswerNone;
    case NewZealandStory: return 0x38;
    case RTypeJapanese:
    case RType:
    case MasterT:
    case DragonBreed: return 0x20;
    case RTypeLeo:
    case InTheHunt: return 8;
    case RType2:
    case Kengo:
        if (b.currentSlice == 0) {
            latchScrollWords(b);
            const std::size_t flag = 0xB0000;
            const uint8_t v = flag < b.size() ? b.data()[flag] : 0;
            return v == 0xF7 || v == 0xF8 ? 0x22 : kIremAnswerNone;
        }
        return 0x20;
    case HeroTonma:
        if (b.currentSlice == 0) {
            latchScrollWords(b);
            return 0x22;
        }
        return 0x20;
    default: return 0; // 7, 38 and the rest: none
    }
}

} // namespace vortastr
