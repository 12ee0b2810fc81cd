// MegaZone's set-up and handlers, and the I/O page it shares with Shaolin's Road (the maps are
// in the headers).
#include "boards/konami_tile/mega_zone_board.h"

#include "boards/konami_tile/konami_tile_board.h"
#include "boards/konami_tile/konami_tile_io.h"

namespace vortastr::konamiTile {

void setUpIoPageBoard(Board& b, M6809WriteHandler write)
{
    M6809Context& t = m6809Engine().state;
    m6809MapPages(t, 0x00, 0xFF, b.data(), b.data());
    m6809MapHandlers(t, 0x00, 0x00, ioPageRead, write);
    b.ownTables = true;
    b.tileColumns = 32, b.tileRows = 32, b.widthFactor = 1, b.heightFactor = 1, b.bitmap = false;
    setUpVideo(b.game, b.data(), tileVideo());
}

void setUpMegaZone(Board& b) { setUpIoPageBoard(b, megaZoneWrite); }

uint8_t ioPageRead(uint16_t address)
{
    using namespace ioPagePort;
    switch (address) {
    case kSystem: return systemPort();
    case kJoystick1: return joystickPort1();
    case kJoystick2: return joystickPort2();
    case kDipA: return dipPort(false);
    case kDipB: return dipPort(true);
    default: return board().data()[address];
    }
}

uint8_t* megaZoneWrite(uint8_t value, uint16_t address)
{
    storeByte(value, address);
    if (address == megaZonePort::kInterruptEnable)
        writeInterruptEnable(value);
    else if (address == megaZonePort::kSoundCommand)
        sendSoundCommand(value);
    return board().data();
}

} // namespace vortastr::konamiTile
