#include "boards/atari/tunnel_hunt_board.h"

#include "boards/atari/crystal_castles_board.h"
#include "cpu/m6502/m6502_engine.h"

namespace vortastr::atari {
namespace {

constexpr M6502WriteEntry kWriteList[] = {
    {0x5000, 0x7FFF, ignoreWrite},
    {0xF800, 0xFFFF, ignoreWrite},
    {m6502ListEnd, 0, nullptr},
};

} // namespace

void setUpTunnelHunt(Board& b)
{
    b.bitmap = true;
    b.widthFactor = 32;
    b.heightFactor = 32;
    M6502Context& c = M6502Engine::context;
    c.memory = b.data();
    c.readList = nullptr;
    c.writeList = kWriteList;
}

} // namespace vortastr::atari
