#pragma once
// Reads and writes through the 6809 engine's page tables as the processor would: a mapped page
// goes to memory, any other page to the board's handler.
#include "cpu/m6809/m6809_engine.h"

#include <cstdint>

namespace vortastr::test {

inline uint8_t busRead(uint16_t address)
{
    const M6809Context& t = m6809Engine().state;
    const unsigned page = address >> 8;
    return t.readPage[page] ? t.readPage[page][address & 0xFF] : t.readHandler[page](address);
}

inline void busWrite(uint16_t address, uint8_t value)
{
    M6809Context& t = m6809Engine().state;
    const unsigned page = address >> 8;
    if (t.writePage[page])
        t.writePage[page][address & 0xFF] = value;
    else
        t.writeHandler[page](value, address);
}

} // namespace vortastr::test
