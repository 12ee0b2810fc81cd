// Memory maps, set-up, interrupt rule and handlers of the tile-and-sprite boards (the maps are
// in the header).
#include "boards/konami_tile/konami_tile_board.h"
#include "boards/konami_tile/konami_tile_io.h"
#include "boards/konami_tile/konami_tile_video.h"

#include <new>

namespace vortastr::konamiTile {
namespace {

constexpr uint16_t kIrqVectorHigh = 0xFFF8;
constexpr uint16_t kIrqVectorLow = 0xFFF9;

uint8_t memoryByte(uint16_t address) { return board().data()[address]; }

void mapPages(Board& b)
{
    M6809Context& t = m6809Engine().state;
    uint8_t* memory = b.data();
    m6809MapPages(t, 0x00, 0xFF, memory, memory); // then the handler pages over it
    switch (b.game) {
    case TrackNField:
        m6809MapHandlers(t, 0x10, 0x11, nullptr, trackFieldWrite);
        m6809MapHandlers(t, 0x12, 0x12, trackFieldRead, nullptr);
        break;
    case HyperSports: m6809MapHandlers(t, 0x00, 0x3F, hyperSportsRead, hyperSportsWrite); break;
    case RockNRope:
    case RopeMan:
        m6809MapHandlers(t, 0x30, 0x30, rockNRopeRead, rockNRopeWrite);
        m6809MapHandlers(t, 0x80, 0x82, nullptr, rockNRopeWrite);
        break;
    case CircusCharlie:
    case CircusCharlie2: m6809MapHandlers(t, 0x00, 0x5F, circusCharlieRead, circusCharlieWrite); break;
    default: break;
    }
    b.ownTables = true;
}

// Screen in tiles and the size factors: Track'n'Field and Hyper Sports 32 x 28 (factors 64 x 32),
// Rock'n'Rope 28 x 32 (32 x 32), all three with the bitmap flag; Circus Charlie 32 x 32 (1 x 1).
void setScreen(Board& b)
{
    switch (b.game) {
    case TrackNField:
    case HyperSports:
        b.tileColumns = 32, b.tileRows = 28, b.widthFactor = 64, b.heightFactor = 32, b.bitmap = true;
        break;
    case RockNRope:
    case RopeMan: b.tileColumns = 28, b.tileRows = 32, b.widthFactor = 32, b.heightFactor = 32, b.bitmap = true; break;
    default: b.tileColumns = 32, b.tileRows = 32, b.widthFactor = 1, b.heightFactor = 1, b.bitmap = false; break;
    }
}

} // namespace

void setUpBoard(Board& b)
{
    mapPages(b);
    setScreen(b);
    // A background that cannot be had leaves the picture black; the game still runs.
    setUpVideo(b.game, b.data(), tileVideo());
}

void setUpExtras(Board& b)
{
    KonamiTileState& k = state();
    if (b.size() >= 2 * std::size_t(m6809OpcodeImage)) {
        buildM6809DecryptTable(k.decryptTable);
        m6809BuildOpcodeImage(b.data(), &k.decryptTable);
        b.slots.slot[0].secondImage = b.data() + m6809OpcodeImage;
    }
    if (b.game != RockNRope && b.game != RopeMan)
        return;
    // Without the buffer the game runs on; writes into it are then dropped.
    try {
        k.sideBuffer.assign(kRockNRopeSideBufferBytes, 0);
    } catch (const std::bad_alloc&) {
        k.sideBuffer.clear();
    }
}

void releaseExtras(Board& b) { b.family.konamiTile.sideBuffer = {}; }

int32_t interruptRule(Board& b, GameId game)
{
    if (game == TrackNField) {
        if (++b.sliceCounter < b.slicesPerFrame)
            return 0;
        b.sliceCounter = 0;
    }
    return b.interruptsEnabled() ? m6809AnswerIrq : 0;
}

uint8_t trackFieldRead(uint16_t address)
{
    using namespace trackFieldPort;
    switch (address) {
    case kDipB: return dipPort(true);
    case kSystem: return systemPort();
    case kPanel1: return runButtonPanel(0, true);
    case kPanel2: return runButtonPanel(1, true);
    case kDipA: return dipPort(false);
    default: return memoryByte(address);
    }
}

uint8_t* trackFieldWrite(uint8_t value, uint16_t address)
{
    storeByte(value, address);
    if (address == trackFieldPort::kInterruptEnable)
        writeInterruptEnable(value);
    else if (address == trackFieldPort::kSoundCommand)
        sendSoundCommand(value); // no sample set answers it on this board
    return board().data();
}

uint8_t hyperSportsRead(uint16_t address)
{
    using namespace hyperSportsPort;
    switch (address) {
    case kDipB: return dipPort(true);
    case kSystem: return systemPort();
    case kPanel1: return runButtonPanel(0, false);
    case kPanel2: return runButtonPanel(1, false);
    case kDipA: return dipPort(false);
    default: return memoryByte(address);
    }
}

uint8_t* hyperSportsWrite(uint8_t value, uint16_t address)
{
    storeByte(value, address);
    if (address == hyperSportsPort::kInterruptEnable)
        writeInterruptEnable(value);
    return board().data();
}

uint8_t rockNRopeRead(uint16_t address)
{
    using namespace rockNRopePort;
    switch (address) {
    case kDipB: return dipPort(true);
    case kSystem: return systemPort();
    case kJoystick1: {
        // The digit keys sit on the same port: the lowest held of 0 to 7 presses its bit,
        // unless Shift or Ctrl is held.
        uint8_t port = joystickPort1();
        if (tilePoll(InputShift | InputCtrl))
            return port;
        for (int n = 0; n < 8; ++n)
            if (directKeyHeld(digitKey(n)))
                return static_cast<uint8_t>(port & ~(1u << n));
        return port;
    }
    case kJoystick2: return joystickPort2();
    case kDipA: return dipPort(false);
    default: return memoryByte(address);
    }
}

uint8_t* rockNRopeWrite(uint8_t value, uint16_t address)
{
    using namespace rockNRopePort;
    Board& b = board();
    if (address < 0x8000) // 0x3000-0x30FF: the I/O page keeps nothing
        return b.data();
    switch (address) {
    case kInterruptEnable: writeInterruptEnable(value); break;
    case kVectorHigh: b.data()[kIrqVectorHigh] = value; break;
    case kVectorLow: b.data()[kIrqVectorLow] = value; break;
    case kIgnored: break;
    default: {
        std::vector<uint8_t>& side = state().sideBuffer;
        const std::size_t at = address & 0x7FFF;
        if (at < side.size())
            side[at] = value;
        break;
    }
    }
    return b.data();
}

uint8_t circusCharlieRead(uint16_t address)
{
    using namespace circusCharliePort;
    switch (address) {
    case kSystem: return systemPort();
    case kJoystick1: return joystickPort1();
    case kJoystick2: return joystickPort2();
    case kReadsZero: return 0;
    case kDipA: return dipPort(false);
    case kDipB: return dipPort(true);
    default: return memoryByte(address);
    }
}

uint8_t* circusCharlieWrite(uint8_t value, uint16_t address)
{
    if (address == circusCharliePort::kInterruptEnable)
        writeInterruptEnable(value);
    else if (address != circusCharliePort::kIgnored)
        storeByte(value, address);
    return board().data();
}

} // namespace vortastr::konamiTile
