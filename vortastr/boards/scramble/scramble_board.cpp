#include "boards/scramble/scramble_board.h"

#include "boards/scramble/scramble_video.h"
#include "cpu/cpu_slot.h"

namespace vortastr::scramble {
namespace {

constexpr int kPpiRegisters = 4;
constexpr int kPpiControl = 3;
constexpr int kSoundCommandPort = 0;
constexpr int kProtectionPort = 2;
constexpr int kLatchOutputs = 8;

uint32_t poll(const Board& b, uint32_t mask) { return b.io.pollInput ? b.io.pollInput(mask) & mask : 0; }

uint8_t dipBank(const Board& b, bool bankB)
{
    if (!b.io.dips)
        return 0;
    return bankB ? b.io.dips->b : b.io.dips->a;
}

// Clears `bit` of the port when the input is held.
void pressed(uint8_t& port, uint32_t in, uint32_t input, uint8_t bit)
{
    if (in & input)
        port = static_cast<uint8_t>(port & ~bit);
}

uint8_t port0(const Board& b)
{
    const uint32_t in = poll(b, InputUp | InputLeft | InputRight | InputCtrl | InputShift | InputDigit3);
    uint8_t port = 0xFF;
    pressed(port, in, InputUp, in0::kUp);
    pressed(port, in, InputShift, in0::kButton2);
    pressed(port, in, InputCtrl, in0::kFire);
    // One direction at a time on each axis, as on the real stick.
    if (in & InputLeft)
        pressed(port, in, InputLeft, in0::kLeft);
    else
        pressed(port, in, InputRight, in0::kRight);
    pressed(port, in, InputDigit3, in0::kCoin1);
    return port;
}

uint8_t port1(const Board& b)
{
    const uint32_t in = poll(b, InputDigit1 | InputDigit2);
    uint8_t port = static_cast<uint8_t>(0xFF & ~(dipBank(b, false) & in1::kDipMask));
    pressed(port, in, InputDigit1, in1::kStart1);
    pressed(port, in, InputDigit2, in1::kStart2);
    return port;
}

uint8_t port2(const Board& b)
{
    const uint32_t in = poll(b, InputUp | InputDown);
    uint8_t port = static_cast<uint8_t>(0xFF & ~((dipBank(b, true) << in2::kDipShift) & in2::kDipMask));
    if (!(in & InputUp))
        pressed(port, in, InputDown, in2::kDown);
    return port;
}

// Handlers of the range lists; they reach the running board.
uint8_t readHandler(uint16_t address, const Z80MemoryReadEntry*) { return readRegister(board(), address); }
void writeHandler(uint16_t address, uint8_t value, const Z80MemoryWriteEntry*)
{
    writeRegister(board(), address, value);
}
void ignoreWrite(uint16_t, uint8_t, const Z80MemoryWriteEntry*) {}

constexpr Z80MemoryReadEntry readEntry(uint32_t low, uint32_t high) { return {low, high, readHandler, nullptr}; }
constexpr Z80MemoryWriteEntry writeEntry(uint32_t low, uint32_t high) { return {low, high, writeHandler, nullptr}; }
constexpr Z80MemoryReadEntry kReadEnd{z80ListEnd, 0, nullptr, nullptr};
constexpr Z80MemoryWriteEntry kWriteEnd{z80ListEnd, 0, nullptr, nullptr};

// Everything not listed is plain memory: RAM, tile RAM and object RAM read and write the block.
template <const ScrambleMap& m>
struct Lists {
    static constexpr Z80MemoryReadEntry reads[] = {
        readEntry(m.tileRam + kTileRamBytes, m.tileRam + 2 * kTileRamBytes - 1),
        readEntry(m.watchdog, m.watchdog),
        readEntry(m.inputPpi, m.inputPpi + kPpiRegisters - 1),
        readEntry(m.soundPpi, m.soundPpi + kPpiRegisters - 1),
        kReadEnd,
    };
    static constexpr Z80MemoryWriteEntry writes[] = {
        {0, m.romEnd, ignoreWrite, nullptr},
        writeEntry(m.tileRam + kTileRamBytes, m.tileRam + 2 * kTileRamBytes - 1),
        writeEntry(m.latch, m.latch + kLatchOutputs - 1),
        writeEntry(m.inputPpi, m.inputPpi + kPpiRegisters - 1),
        writeEntry(m.soundPpi, m.soundPpi + kPpiRegisters - 1),
        kWriteEnd,
    };
};

bool within(uint16_t address, uint16_t first, int count) { return address >= first && address < first + count; }

} // namespace

const ScrambleMap& mapOf(GameId game) { return game == Scramble ? kScrambleMap : kTazmaniaMap; }

void setUpBoard(Board& b)
{
    ScrambleState& s = b.family.scramble;
    s = ScrambleState{};
    s.z80.memory = b.data();
    if (b.game == Scramble) {
        s.z80.readList = Lists<kScrambleMap>::reads;
        s.z80.writeList = Lists<kScrambleMap>::writes;
    } else {
        s.z80.readList = Lists<kTazmaniaMap>::reads;
        s.z80.writeList = Lists<kTazmaniaMap>::writes;
    }
    b.tileColumns = 32;
    b.tileRows = 32;
    backgroundCache().reset(); // a new game or sheet: every cell is drawn again
}

int32_t interruptRule(Board& b) { return b.interruptsEnabled() ? z80AnswerNmi : z80AnswerNone; }

uint8_t readInputPort(const Board& b, int port)
{
    switch (port) {
    case 0: return port0(b);
    case 1: return port1(b);
    default: return port2(b);
    }
}

uint8_t readRegister(Board& b, uint16_t address)
{
    const ScrambleMap& m = mapOf(b.game);
    ScrambleState& s = b.family.scramble;
    if (within(address, m.tileRam + kTileRamBytes, kTileRamBytes))
        return b.data()[address - kTileRamBytes];
    if (address == m.watchdog) {
        ++s.watchdogReads;
        return 0xFF;
    }
    if (within(address, m.inputPpi, kPpiRegisters)) {
        const int port = address - m.inputPpi;
        return port == kPpiControl ? s.inputPpi[kPpiControl] : readInputPort(b, port);
    }
    if (within(address, m.soundPpi, kPpiRegisters)) {
        const int port = address - m.soundPpi;
        return port == kProtectionPort ? 0xFF : s.soundPpi[std::size_t(port)];
    }
    return b.data()[address];
}

void writeRegister(Board& b, uint16_t address, uint8_t value)
{
    const ScrambleMap& m = mapOf(b.game);
    ScrambleState& s = b.family.scramble;
    if (within(address, m.tileRam + kTileRamBytes, kTileRamBytes)) {
        b.data()[address - kTileRamBytes] = value;
    } else if (within(address, m.latch, kLatchOutputs)) {
        const int output = address - m.latch;
        s.latch[std::size_t(output)] = value & 1;
        if (output == LatchNmiEnable && b.io.interruptEnable)
            *b.io.interruptEnable = static_cast<uint8_t>((*b.io.interruptEnable & ~1) | (value & 1));
    } else if (within(address, m.inputPpi, kPpiRegisters)) {
        s.inputPpi[std::size_t(address - m.inputPpi)] = value;
    } else if (within(address, m.soundPpi, kPpiRegisters)) {
        const int port = address - m.soundPpi;
        s.soundPpi[std::size_t(port)] = value;
        if (port == kSoundCommandPort) {
            s.soundCommand = value;
            if (b.io.soundCommand)
                b.io.soundCommand(b.game, value);
        }
    }
}

} // namespace vortastr::scramble
