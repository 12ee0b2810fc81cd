#pragma once
// Effective addresses of the addressing modes, and the operand reads, writes and
// read-modify-writes built on them.
#include "m6502_decode.h"
#include "m6502_memory.h"

namespace vortastr::m6502 {

template <Mode mode>
M6502_INLINE uint16_t effectiveAddress(Cpu& c)
{
    if constexpr (mode == Mode::Zp) {
        return fetch(c);
    } else if constexpr (mode == Mode::Zpx) {
        return uint8_t(fetch(c) + c.x);
    } else if constexpr (mode == Mode::Zpy) {
        return uint8_t(fetch(c) + c.y);
    } else if constexpr (mode == Mode::Abs) {
        return fetchWord(c);
    } else if constexpr (mode == Mode::Abx) {
        return uint16_t(fetchWord(c) + c.x);
    } else if constexpr (mode == Mode::Aby) {
        return uint16_t(fetchWord(c) + c.y);
    } else if constexpr (mode == Mode::Ind) {
        return readWord(c.mem, fetchWord(c));
    } else if constexpr (mode == Mode::Izx) {
        return readZeroPageWord(c.mem, uint8_t(fetch(c) + c.x));
    } else if constexpr (mode == Mode::Izy) {
        return uint16_t(readZeroPageWord(c.mem, fetch(c)) + c.y);
    } else {
        static_assert(mode == Mode::Zp, "mode has no effective address");
    }
}

template <Mode mode>
M6502_INLINE uint8_t readOperand(Cpu& c)
{
    if constexpr (mode == Mode::Imm)
        return fetch(c);
    else
        return readData(c, effectiveAddress<mode>(c));
}

template <Mode mode>
M6502_INLINE void writeOperand(Cpu& c, uint8_t value)
{
    writeData(c, effectiveAddress<mode>(c), value);
}

// Shifts, rotates, INC and DEC on the accumulator or on memory.
template <Mode mode, typename Change>
M6502_INLINE void modifyOperand(Cpu& c, Change change)
{
    if constexpr (mode == Mode::Acc) {
        c.a = change(c.a);
    } else {
        uint16_t address = effectiveAddress<mode>(c);
        writeData(c, address, change(readData(c, address)));
    }
}

} // namespace vortastr::m6502
