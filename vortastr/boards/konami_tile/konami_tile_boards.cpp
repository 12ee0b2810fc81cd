// Memory maps and handlers of the tile-and-sprite boards (the maps are in the header).
#include "boards/konami_tile/konami_tile_board.h"
#include "boards/konami_tile/konami_tile_io.h"

#include <new>

namespace vortastr {
namespace {

constexpr uint16_t kIrqVectorHigh = 0xFFF8;
constexpr uint16_t kIrqVectorLow = 0xFFF9;

uint8_t memoryByte(uint16_t address) { return board().data()[address]; }

} // namespace

void mapKonamiTileBoard(Board& b)
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

void setUpKonamiTileExtras(Board& b)
{
    KonamiTileState& state = konamiTileState();
    state = KonamiTileState{};
    if (b.data() && b.size() >= m6809OpcodeImage * 2) {
        buildM6809DecryptTable(state.decryptTable);
        m6809BuildOpcodeImage(b.data(), &state.decryptTable);
        b.slots.slot[0].secondImage = b.data() + m6809OpcodeImage;
    }
    if (b.game != RockNRope && b.game != RopeMan)
        return;
    // Without the buffer the game runs on; writes into it are then dropped.
    try {
        state.sideBuffer.assign(kRockNRopeSideBufferBytes, 0);
    } catch (const std::bad_alloc&) {
        state.sideBuffer.clear();
    }
}

uint8_t trackFieldRead(uint16_t address)
{
    switch (address) {
    case 0x1200: return dipPort(true);
    case 0x1280: return konamiSystemPort();
    case 0x1281: return runButtonPanel(0, true);
    case 0x1282: return runButtonPanel(1, true);
    case 0x1283: return dipPort(false);
    default: return memoryByte(address);
    }
}

uint8_t* trackFieldWrite(uint8_t value, uint16_t address)
{
    storeByte(value, address);
    if (address == 0x1087)
        writeInterruptEnable(value);
    else if (address == 0x1100)
        sendSoundCommand(value);
    return board().data();
}

uint8_t hyperSportsRead(uint16_t address)
{
    switch (address) {
    case 0x1600: return dipPort(true);
    case 0x1680: return konamiSystemPort();
    case 0x1681: return runButtonPanel(0, false);
    case 0x1682: return runButtonPanel(1, false);
    case 0x1683: return dipPort(false);
    default: return memoryByte(address);
    }
}

uint8_t* hyperSportsWrite(uint8_t value, uint16_t address)
{
    storeByte(value, address);
    if (address == 0x1487)
        writeInterruptEnable(value);
    return board().data();
}

uint8_t rockNRopeRead(uint16_t address)
{
    switch (address) {
    case 0x3000: return dipPort(true);
    case 0x3080: return konamiSystemPort();
    case 0x3081: {
        uint8_t port = konamiJoystickPort1();
        if (tilePoll(InputShift | InputCtrl))
            return port;
        for (int n = 0; n < 8; ++n)
            if (directKeyHeld(digitKey(n))) {
                port = static_cast<uint8_t>(port & ~(1u << n));
                break;
            }
        return port;
    }
    case 0x3082: return konamiJoystickPort2();
    case 0x3083: return dipPort(false);
    default: return memoryByte(address);
    }
}

uint8_t* rockNRopeWrite(uint8_t value, uint16_t address)
{
    Board& b = board();
    if (address < 0x8000) // 0x3000-0x30FF: the I/O page keeps nothing
        return b.data();
    switch (address) {
    case 0x8087: writeInterruptEnable(value); break;
    case 0x8188: b.data()[kIrqVectorHigh] = value; break;
    case 0x8189: b.data()[kIrqVectorLow] = value; break;
    case 0x8000: break;
    default: {
        std::vector<uint8_t>& side = konamiTileState().sideBuffer;
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
    switch (address) {
    case 0x1000: return konamiSystemPort();
    case 0x1001: return konamiJoystickPort1();
    case 0x1002: return konamiJoystickPort2();
    case 0x1003: return 0;
    case 0x1400: return dipPort(false);
    case 0x1800: return dipPort(true);
    default: return memoryByte(address);
    }
}

uint8_t* circusCharlieWrite(uint8_t value, uint16_t address)
{
    if (address == 0x0001)
        writeInterruptEnable(value);
    else if (address != 0x0400)
        storeByte(value, address);
    return board().data();
}

} // namespace vortastr
