// Set-up and handlers of Iron Horse and Jail Break (the maps are in the header).
#include "boards/konami_tile/iron_horse_jail_break_board.h"
#include "boards/konami_tile/iron_horse_jail_break_video.h"
#include "boards/konami_tile/konami_tile_board.h"
#include "boards/konami_tile/konami_tile_io.h"

namespace vortastr::konamiTile {

void setUpIronHorseJailBreak(Board& b)
{
    M6809Context& t = m6809Engine().state;
    uint8_t* memory = b.data();
    m6809MapPages(t, 0x00, 0xFF, memory, memory);
    if (b.game == IronHorse)
        m6809MapHandlers(t, 0x00, 0x00, ironHorseRead, ironHorseWrite);
    else
        m6809MapHandlers(t, 0x30, 0x33, jailBreakRead, jailBreakWrite);
    b.ownTables = true;
    b.tileColumns = 32, b.tileRows = 32, b.widthFactor = 1, b.heightFactor = 1, b.bitmap = false;
    // A background that cannot be had leaves the picture black; the game still runs.
    setUpHorseBreakVideo(b.game, memory, tileVideo());
}

uint8_t ironHorseRead(uint16_t address)
{
    using namespace ironHorsePort;
    switch (address) {
    case kSystem: return systemPort();
    case kJoystick1: return joystickPort1();
    case kJoystick2: return joystickPort2();
    case kDipA: return dipPort(false);
    case kDipB: return dipPort(true);
    default: return board().data()[address];
    }
}

uint8_t* ironHorseWrite(uint8_t value, uint16_t address)
{
    storeByte(value, address);
    if (address == ironHorsePort::kInterruptEnable)
        writeInterruptEnable(value);
    else if (address == ironHorsePort::kSoundCommand)
        sendSoundCommand(value); // no sample set answers it on this board
    return board().data();
}

uint8_t jailBreakRead(uint16_t address)
{
    using namespace jailBreakPort;
    switch (address) {
    case kDipB: return dipPort(true);
    case kSystem: return systemPort();
    case kJoystick1: return joystickPort1();
    case kJoystick2: return joystickPort2();
    case kDipA: return dipPort(false);
    default: return board().data()[address];
    }
}

uint8_t* jailBreakWrite(uint8_t value, uint16_t address)
{
    if (address == jailBreakPort::kInterruptEnable) {
        writeInterruptEnable(value);
        return board().data();
    }
    storeByte(value, address);
    if (address == jailBreakPort::kSoundCommand)
        sendSoundCommand(value);
    return board().data();
}

} // namespace vortastr::konamiTile
