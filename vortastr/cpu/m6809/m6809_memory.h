#pragma once
// Data reads and writes of the 6809 engine through the page tables of the running context.
// A page pointer is a single array access; a null page goes to the page's handler. Words are
// big-endian; a word that straddles two pages (low byte 0xFF) is two byte accesses, and the
// address wraps at 16 bits. Opcodes, operands and vectors do not come through here: the
// engine reads those straight from its memory base.
#include "m6809_context.h"

namespace vortastr::m6809 {

inline uint8_t readByte(const M6809Context& t, uint16_t address)
{
    if (const uint8_t* page = t.readPage[address >> 8])
        return page[address & 0xFF];
    M6809ReadHandler handler = t.readHandler[address >> 8];
    return handler ? handler(address) : 0xFF;
}

inline uint16_t readWord(const M6809Context& t, uint16_t address)
{
    const unsigned low = address & 0xFF;
    if (low != 0xFF) {
        if (const uint8_t* page = t.readPage[address >> 8])
            return uint16_t(page[low] << 8 | page[low + 1]);
    }
    uint8_t high = readByte(t, address);
    return uint16_t(high << 8 | readByte(t, uint16_t(address + 1)));
}

// `base` is the engine's memory base; a handler's answer replaces it (a null answer keeps it,
// so a faulty handler cannot leave the engine without memory).
inline void writeByte(const M6809Context& t, uint8_t*& base, uint16_t address, uint8_t value)
{
    if (uint8_t* page = t.writePage[address >> 8]) {
        page[address & 0xFF] = value;
        return;
    }
    if (M6809WriteHandler handler = t.writeHandler[address >> 8]) {
        if (uint8_t* moved = handler(value, address))
            base = moved;
    }
}

inline void writeWord(const M6809Context& t, uint8_t*& base, uint16_t address, uint16_t value)
{
    const unsigned low = address & 0xFF;
    if (low != 0xFF) {
        if (uint8_t* page = t.writePage[address >> 8]) {
            page[low] = uint8_t(value >> 8);
            page[low + 1] = uint8_t(value);
            return;
        }
    }
    writeByte(t, base, address, uint8_t(value >> 8));
    writeByte(t, base, uint16_t(address + 1), uint8_t(value));
}

} // namespace vortastr::m6809
