// WhizQuiz's set-up and read handler (the map is in the header).
#include "boards/konami_tile/whiz_quiz_board.h"

#include "boards/konami_tile/konami_tile_board.h"
#include "boards/konami_tile/konami_tile_io.h"
#include "boards/konami_tile/konami_tile_video.h"

namespace vortastr::konamiTile {

void setUpWhizQuiz(Board& b)
{
    M6809Context& t = m6809Engine().state;
    m6809MapPages(t, 0x00, 0xFF, b.data(), b.data());
    m6809MapHandlers(t, 0x10, 0x11, nullptr, trackFieldWrite);
    m6809MapHandlers(t, 0x12, 0x12, whizQuizRead, nullptr);
    b.ownTables = true;
    // Track'n'Field's screen: 32 x 28 cells, 256 x 224 pixels.
    b.tileColumns = 32, b.tileRows = 28, b.widthFactor = 64, b.heightFactor = 32, b.bitmap = true;
    setUpVideo(b.game, b.data(), tileVideo());
}

uint8_t whizQuizRead(uint16_t address)
{
    using namespace whizQuizPort;
    switch (address) {
    case kDipB: return dipPort(true);
    case kSystem: return systemPort();
    case kJoystick1: return joystickPort1();
    case kJoystick2: return joystickPort2();
    case kDipA: return dipPort(false);
    default: return board().data()[address];
    }
}

} // namespace vortastr::konamiTile
