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

namespace {

// Where a board decodes its registers; Jail Break's enable register keeps nothing.
struct Registers {
    uint16_t system, joystick1, joystick2, dipA, dipB, interruptEnable, soundCommand;
    bool enableStored;
};
constexpr Registers kIronHorse{
    ironHorsePort::kSystem, ironHorsePort::kJoystick1,       ironHorsePort::kJoystick2,    ironHorsePort::kDipA,
    ironHorsePort::kDipB,   ironHorsePort::kInterruptEnable, ironHorsePort::kSoundCommand, true};
constexpr Registers kJailBreak{
    jailBreakPort::kSystem, jailBreakPort::kJoystick1,       jailBreakPort::kJoystick2,    jailBreakPort::kDipA,
    jailBreakPort::kDipB,   jailBreakPort::kInterruptEnable, jailBreakPort::kSoundCommand, false};

uint8_t readRegister(const Registers& r, uint16_t address)
{
    if (address == r.system)
        return systemPort();
    if (address == r.joystick1)
        return joystickPort1();
    if (address == r.joystick2)
        return joystickPort2();
    if (address == r.dipA || address == r.dipB)
        return dipPort(address == r.dipB);
    return board().data()[address];
}

uint8_t* writeRegister(const Registers& r, uint8_t value, uint16_t address)
{
    if (address != r.interruptEnable || r.enableStored)
        storeByte(value, address);
    if (address == r.interruptEnable)
        writeInterruptEnable(value);
    else if (address == r.soundCommand)
        sendSoundCommand(value); // no sample set answers it on these boards
    return board().data();
}

} // namespace

uint8_t ironHorseRead(uint16_t address) { return readRegister(kIronHorse, address); }
uint8_t* ironHorseWrite(uint8_t value, uint16_t address) { return writeRegister(kIronHorse, value, address); }
uint8_t jailBreakRead(uint16_t address) { return readRegister(kJailBreak, address); }
uint8_t* jailBreakWrite(uint8_t value, uint16_t address) { return writeRegister(kJailBreak, value, address); }

} // namespace vortastr::konamiTile
