#include "boards/atari/crystal_castles_board.h"

#include "boards/rom_files.h"
#include "boards/rom_sets.h"
#include "cpu/m6502/m6502_engine.h"

#include <cstring>
#include <new>

namespace vortastr::atari {
namespace {

constexpr uint32_t kRandomSeed = 0x2545F491; // fixed, so a scripted run repeats exactly

constexpr M6502ReadEntry kReadList[] = {
    {0x0000, 0x0003, crystalCastlesRead},
    {0x9000, 0x9FFF, crystalCastlesRead},
    {m6502ListEnd, 0, nullptr},
};
constexpr M6502WriteEntry kWriteList[] = {
    {0x0000, 0x0003, crystalCastlesWrite},
    {0x9000, 0x9FFF, crystalCastlesWrite},
    {0xA000, 0xFFFF, ignoreWrite},
    {m6502ListEnd, 0, nullptr},
};

uint32_t poll(uint32_t mask)
{
    const BoardIo& io = board().io;
    return io.pollInput ? io.pollInput(mask) & mask : 0;
}

// The offset of the pixel registers' byte, or -1 outside [first, kBitmapEnd].
int32_t pixelOffset(const AtariState& s, uint32_t first)
{
    const uint32_t offset = uint32_t(s.pixelY) << 7 | uint32_t(s.pixelX) >> 1;
    return offset >= first && offset <= kBitmapEnd ? int32_t(offset) : -1;
}

void step(AtariState& s)
{
    if (!(s.control & kHoldX))
        s.pixelX = uint8_t(s.control & kDownX ? s.pixelX - 1 : s.pixelX + 1);
    if (!(s.control & kHoldY))
        s.pixelY = uint8_t(s.control & kDownY ? s.pixelY - 1 : s.pixelY + 1);
}

// xorshift32: the low byte of each new state.
uint8_t nextRandom(AtariState& s)
{
    uint32_t x = s.randomState;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    s.randomState = x;
    return uint8_t(x);
}

// Coins, start and fire, active low; bit 5 is the vertical-blank toggle. Reading it is the
// program's acknowledge of the IRQ.
uint8_t switches(Board& b)
{
    AtariState& s = b.family.atari;
    const uint32_t in = poll(InputDigit3 | InputDigit4 | InputCtrl);
    uint8_t port = 0xFF;
    if (in & InputDigit3)
        port &= ~0x02;
    if (in & InputDigit4)
        port &= ~0x04;
    if (!s.verticalBlank)
        port &= ~0x20;
    s.verticalBlank ^= 1;
    if (in & InputCtrl)
        port &= ~0x40;
    b.m6502InterruptPending = 0;
    return port;
}

uint8_t options(const Board& b)
{
    const uint32_t in = poll(InputDigit1 | InputDigit2);
    const uint8_t dipA = b.io.dips ? b.io.dips->a : 0;
    uint8_t port = uint8_t((dipA & 0x07) | 0xF8);
    if (in & InputDigit1)
        port &= ~0x08;
    if (in & InputDigit2)
        port &= ~0x10;
    return port;
}

void selectBank(Board& b, uint8_t value)
{
    const AtariState& s = b.family.atari;
    const std::size_t from = value & 1 ? 0 : kBankBytes;
    if (s.bankBuffer.size() < from + kBankBytes)
        return; // no bank buffer: the window keeps what it has
    std::memcpy(b.data() + kBankWindow, s.bankBuffer.data() + from, kBankBytes);
}

void setControlBit(AtariState& s, unsigned bit, uint8_t value)
{
    const uint8_t mask = uint8_t(1u << bit);
    s.control = value != 0 ? uint8_t(s.control | mask) : uint8_t(s.control & ~mask);
}

} // namespace

void setUpCrystalCastles(Board& b)
{
    b.bitmap = true;
    b.widthFactor = 32;
    b.heightFactor = 32;
    b.family.atari.randomState = kRandomSeed;
    M6502Context& c = M6502Engine::context;
    c.memory = b.data();
    c.readList = kReadList;
    c.writeList = kWriteList;
}

void setUpCrystalCastlesExtras(Board& b)
{
    AtariState& s = b.family.atari;
    const SideBufferRoms roms = sideBufferRoms(b.game);
    try {
        s.bankBuffer.assign(roms.size, 0);
    } catch (const std::bad_alloc&) {
        s.bankBuffer.clear();
        return;
    }
    loadRomListInto(s.bankBuffer, roms.files, roms.fileSize);
}

void releaseExtras(Board& b) { b.family.atari.bankBuffer = {}; }

void writePixel(Board& b, uint8_t value)
{
    AtariState& s = b.family.atari;
    const int32_t offset = pixelOffset(s, kBitmapStart);
    if (offset < 0 || std::size_t(offset) >= b.size())
        return;
    uint8_t& byte = b.data()[offset];
    if (s.pixelX & 1)
        byte = uint8_t((byte & 0x0F) | (value & 0xF0));
    else
        byte = uint8_t((byte & 0xF0) | (value >> 4));
    step(s);
}

uint8_t readPixel(Board& b)
{
    AtariState& s = b.family.atari;
    const int32_t offset = pixelOffset(s, 0);
    if (offset < 0 || std::size_t(offset) >= b.size())
        return 0;
    const uint8_t byte = b.data()[offset];
    const uint8_t nibble = s.pixelX & 1 ? byte >> 4 : byte & 0x0F;
    step(s);
    return uint8_t(nibble * 17);
}

uint8_t readTrackballV(AtariState& s, uint32_t held)
{
    if (held & InputDown) {
        s.trackballV = uint8_t(s.trackballV - 4);
        s.trackballH = uint8_t(s.trackballH - 2);
    } else if (held & InputUp) {
        s.trackballV = uint8_t(s.trackballV + 6);
    }
    return s.trackballV;
}

uint8_t readTrackballH(AtariState& s, uint32_t held)
{
    if (held & InputLeft) {
        s.trackballV = uint8_t(s.trackballV + 2);
        s.trackballH = uint8_t(s.trackballH - 4);
    } else if (held & InputRight) {
        s.trackballH = uint8_t(s.trackballH + 4);
        s.trackballV = uint8_t(s.trackballV - 2);
    }
    return s.trackballH;
}

void moveTrackball(AtariState& s, int dx, int dy)
{
    s.trackballH = uint8_t(s.trackballH + dx);
    s.trackballV = uint8_t(s.trackballV - dy);
}

uint16_t spriteBuffer(const AtariState& s) { return s.control & kSpriteBuffer ? kSpriteBufferSet : kSpriteBufferClear; }

// Mouse and stick motion moves the counters before the arrows are looked at.
void followPointer(AtariState& s)
{
    const BoardIo& io = board().io;
    if (!io.takeTrackballMotion)
        return;
    int32_t dx = 0, dy = 0;
    io.takeTrackballMotion(dx, dy);
    moveTrackball(s, dx, dy);
}

uint8_t crystalCastlesRead(uint16_t address)
{
    Board& b = board();
    AtariState& s = b.family.atari;
    switch (address) {
    case ccPort::kPixelX: return s.pixelX;
    case ccPort::kPixelY: return s.pixelY;
    case ccPort::kPixel: return readPixel(b);
    case ccPort::kTrackballV: followPointer(s); return readTrackballV(s, poll(InputUp | InputDown));
    case ccPort::kTrackballH: followPointer(s); return readTrackballH(s, poll(InputLeft | InputRight));
    case ccPort::kSwitches: return switches(b);
    case ccPort::kRandom: return nextRandom(s);
    case ccPort::kOptions: return options(b);
    default: return b.data()[address];
    }
}

int crystalCastlesWrite(uint16_t address, uint8_t value)
{
    Board& b = board();
    AtariState& s = b.family.atari;
    b.data()[address] = value;
    if (address >= ccPort::kPaletteFirst && address <= ccPort::kPaletteLast) {
        const unsigned entry = address & 0x1F;
        b.data()[ccPort::kPaletteFirst + entry] = value;
        b.data()[0x9FA0 + entry] = uint8_t(address >> 5 & 1);
        return 0;
    }
    if (address >= ccPort::kControl0 && address <= ccPort::kControl7) {
        setControlBit(s, address - ccPort::kControl0, value);
        return 0;
    }
    switch (address) {
    case ccPort::kPixelX: s.pixelX = value; break;
    case ccPort::kPixelY: s.pixelY = value; break;
    case ccPort::kPixel: writePixel(b, value); break;
    case ccPort::kBankSelect: selectBank(b, value); break;
    default: break;
    }
    return 0;
}

int ignoreWrite(uint16_t, uint8_t) { return 0; }

} // namespace vortastr::atari
