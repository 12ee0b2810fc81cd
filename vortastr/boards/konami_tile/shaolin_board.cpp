// Shaolin's Road's set-up and write handler (the map is in the header).
#include "boards/konami_tile/shaolin_board.h"

#include "boards/konami_tile/konami_tile_io.h"
#include "boards/konami_tile/mega_zone_board.h"

namespace vortastr::konamiTile {

void setUpShaolinsRoad(Board& b) { setUpIoPageBoard(b, shaolinWrite); }

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
