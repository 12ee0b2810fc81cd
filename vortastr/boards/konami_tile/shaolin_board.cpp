// Shaolin's Road's set-up and write handler (the map is in the header).
#include "boards/konami_tile/shaolin_board.h"

#include "boards/konami_tile/konami_tile_io.h"
#include "boards/konami_tile/mega_zone_board.h"

namespace vortastr::konamiTile {

void setUpShaolinsRoad(Board& b)
{
    M6809Context& t = m6809Engine().state;
    m6809MapPages(t, 0x00, 0xFF, b.data(), b.data());
    m6809MapHandlers(t, 0x00, 0x00, ioPageRead, shaolinWrite);
    b.ownTables = true;
    b.tileColumns = 32, b.tileRows = 32, b.widthFactor = 1, b.heightFactor = 1, b.bitmap = false;
    setUpVideo(b.game, b.data(), tileVideo());
}

uint8_t* shaolinWrite(uint8_t value, uint16_t address)
{
    using namespace shaolinPort;
    storeByte(value, address); // the sprite bank is read back from here by the renderer
    if (address == kControl) {
        // The whole byte is the board's latch; the interrupt rule reads its bit 2.
        BoardIo& io = board().io;
        if (io.interruptEnable)
            *io.interruptEnable = value;
        if (!(value & kIrqEnable))
            m6809Engine().state.pendingInterrupts = 0;
    } else if (address == kSoundCommand) {
        sendSoundCommand(value);
    }
    return board().data();
}

} // namespace vortastr::konamiTile
