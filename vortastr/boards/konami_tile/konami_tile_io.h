#pragma once
// What the handlers of the tile-and-sprite boards reach outside the board, in one place.
#include "boards/board.h"
#include "boards/konami_tile/konami_tile_state.h"
#include "cpu/m6809/m6809_engine.h"

namespace vortastr::konamiTile {

// The input word for the requested bits (active high); nothing without a poll.
inline uint32_t tilePoll(uint32_t mask)
{
    const BoardIo& io = board().io;
    return io.pollInput ? io.pollInput(mask) & mask : 0;
}

inline bool directKeyHeld(DirectKey key)
{
    const BoardIo& io = board().io;
    return io.keyHeld && io.keyHeld(key);
}

// A dip byte as the board reads it: the complement of the switches.
inline uint8_t dipPort(bool bankB)
{
    const DipBytes* dips = board().io.dips;
    return dips ? static_cast<uint8_t>(~(bankB ? dips->b : dips->a)) : 0xFF;
}

inline uint8_t* storeByte(uint8_t value, uint16_t address)
{
    board().data()[address] = value;
    return board().data();
}

// Bit 0 of the latch = (value != 0); a 0 also drops any interrupt already requested.
inline void writeInterruptEnable(uint8_t value)
{
    BoardIo& io = board().io;
    if (io.interruptEnable)
        *io.interruptEnable = static_cast<uint8_t>((*io.interruptEnable & ~1) | (value != 0 ? 1 : 0));
    if (value == 0)
        m6809Engine().state.pendingInterrupts = 0;
}

inline KonamiTileState& state() { return board().family.konamiTile; }

inline void sendSoundCommand(uint8_t value)
{
    const Board& b = board();
    if (b.io.soundCommand)
        b.io.soundCommand(b.game, value);
}

} // namespace vortastr::konamiTile
