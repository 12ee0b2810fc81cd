#include "boards/interrupt_rules.h"

#include "boards/board.h"

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
    case 0: return ctrlHeld() ? m6502AnswerNmi : m6502AnswerIrq;
    case 1:
    case 11: return m6502AnswerIrq;
    case 2:
    case 3:
        b.m6502InterruptPending = 1;
        return m6502AnswerIrq;
    case 4: return m6502AnswerNmi;
    case 8:
    case 9:
    case 10:
        // Every second slice while enabled; the toggle stands still while disabled.
        if (!ie)
            return 0;
        b.interruptToggle ^= 1;
        return b.interruptToggle ? 0 : m6809AnswerIrq;
    case 18:
        b.interruptToggle ^= 1;
        return ie && !b.interruptToggle ? m6809AnswerIrq : 0;
    case 12:
        b.interruptToggle ^= 1;
        return ie && !b.interruptToggle ? m6809AnswerFirq : 0;
    case 13:
    case 15:
    case 16:
    case 17:
    case 19:
    case 22:
    case 23:
    case 26: return ie ? m6809AnswerIrq : 0;
    case 14:
        if (++b.sliceCounter < b.slicesPerFrame)
            return 0;
        b.sliceCounter = 0;
        return ie ? m6809AnswerIrq : 0;
    case 25: return b.io.interruptEnable && *b.io.interruptEnable ? m6809AnswerIrq : 0;
    case 32: return b.io.interruptEnable && (*b.io.interruptEnable & 4) ? m6809AnswerIrq : 0;
    case 20:
    case 21:
    case 24: return ie ? z80AnswerNmi : z80AnswerNone;
    case 34: return 0x38;
    case 27:
    case 28:
    case 31:
    case 36: return 0x20;
    case 30:
    case 33: return 8;
    case 29:
    case 37:
        if (b.currentSlice == 0) {
            latchScrollWords(b);
            const std::size_t flag = 0xB0000;
            const uint8_t v = flag < b.size() ? b.data()[flag] : 0;
            return v == 0xF7 || v == 0xF8 ? 0x22 : kIremAnswerNone;
        }
        return 0x20;
    case 35:
        if (b.currentSlice == 0) {
            latchScrollWords(b);
            return 0x22;
        }
        return 0x20;
    default: return 0; // 7, 38 and the rest: none
    }
}

} // namespace vortastr
