#pragma once
// Memory and port access through the range lists. Opcodes, operands and the stack of
// CALL/RET/RST/EX (SP) and interrupt entry read the block directly; every other data access
// goes through these lookups, which fall back to the block (ports: to 0xFF / nothing).
#include "z80_context.h"

#include <cstdint>

namespace vortastr::z80 {

// Stand-ins for lists a context leaves null, so lookups never test for null.
extern const Z80MemoryReadEntry emptyReadList[1];
extern const Z80MemoryWriteEntry emptyWriteList[1];
extern const Z80PortInputEntry emptyInputList[1];
extern const Z80PortOutputEntry emptyOutputList[1];

inline uint8_t readData(const uint8_t* memory, const Z80MemoryReadEntry* list, uint16_t address)
{
    for (const Z80MemoryReadEntry* e = list; uint16_t(e->low) != z80ListEnd; ++e) {
        if (address >= uint16_t(e->low) && address <= uint16_t(e->high))
            return e->handler(address, e);
    }
    return memory[address];
}

inline void writeData(uint8_t* memory, const Z80MemoryWriteEntry* list, uint16_t address, uint8_t value)
{
    for (const Z80MemoryWriteEntry* e = list; uint16_t(e->low) != z80ListEnd; ++e) {
        if (address >= uint16_t(e->low) && address <= uint16_t(e->high)) {
            e->handler(address, value, e); // the handler decides whether the block changes
            return;
        }
    }
    memory[address] = value;
}

// `lookup` selects the entry (8-bit n, or the whole BC); `passed` is what the handler gets.
inline uint8_t portIn(const Z80PortInputEntry* list, uint16_t lookup, uint16_t passed)
{
    for (const Z80PortInputEntry* e = list; e->low != z80ListEnd; ++e) {
        if (lookup >= e->low && lookup <= e->high)
            return e->handler(passed, e);
    }
    return 0xFF;
}

inline void portOut(const Z80PortOutputEntry* list, uint16_t lookup, uint16_t passed, uint8_t value)
{
    for (const Z80PortOutputEntry* e = list; e->low != z80ListEnd; ++e) {
        if (lookup >= e->low && lookup <= e->high) {
            e->handler(passed, value, e);
            return;
        }
    }
}

// Direct word access to the block; the high byte of a word at 0xFFFF is at 0x0000.
inline uint16_t peekWord(const uint8_t* memory, uint16_t address)
{
    return uint16_t(memory[address] | memory[uint16_t(address + 1)] << 8);
}

inline void pokeWord(uint8_t* memory, uint16_t address, uint16_t value)
{
    memory[address] = uint8_t(value);
    memory[uint16_t(address + 1)] = uint8_t(value >> 8);
}

} // namespace vortastr::z80
