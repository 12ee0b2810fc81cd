#pragma once
// Memory access inside execute. Opcodes, operands, the stack and pointer words go straight to
// the block; the data accesses of the addressing modes go through the range lists first.
#include "m6502_alu.h"
#include "m6502_engine.h"

#include <cstdint>

namespace vortastr::m6502 {

// The processor while execute runs: registers live here (and so in host registers), not in the
// context, which is brought up to date when execute returns.
struct Cpu {
    uint8_t* mem;
    const M6502ReadEntry* readList;
    const M6502WriteEntry* writeList;
    uint32_t cycles;
    uint16_t pc;
    uint8_t a, x, y, s, p;
};

// A 16-bit index keeps every access inside the 64 KB block.
M6502_INLINE uint8_t fetch(Cpu& c) { return c.mem[c.pc++]; }

M6502_INLINE uint16_t fetchWord(Cpu& c)
{
    uint16_t low = fetch(c);
    return uint16_t(low | fetch(c) << 8);
}

// A plain little-endian word; the high byte of a word at 0xFFFF comes from 0x0000.
M6502_INLINE uint16_t readWord(const uint8_t* mem, uint16_t address)
{
    return uint16_t(mem[address] | mem[uint16_t(address + 1)] << 8);
}

// A pointer in page zero; its high byte wraps to 0x00 after 0xFF.
M6502_INLINE uint16_t readZeroPageWord(const uint8_t* mem, uint8_t address)
{
    return uint16_t(mem[address] | mem[uint8_t(address + 1)] << 8);
}

// The stack is page one; S wraps within it.
M6502_INLINE void pushByte(uint8_t* mem, uint8_t& s, uint8_t value) { mem[0x0100 + s--] = value; }

M6502_INLINE void push(Cpu& c, uint8_t value) { pushByte(c.mem, c.s, value); }

M6502_INLINE uint8_t pull(Cpu& c) { return c.mem[0x0100 + ++c.s]; }

M6502_INLINE uint8_t readData(const Cpu& c, uint16_t address)
{
    for (const M6502ReadEntry* e = c.readList; e->low != m6502ListEnd; ++e)
        if (e->low <= address && address <= e->high)
            return e->handler(address);
    return c.mem[address];
}

// A claimed write goes to the handler only. When the handler reports a bank switch the new base
// is taken from the context; PC is an offset, so the next fetch already comes from the new block.
M6502_INLINE void writeData(Cpu& c, uint16_t address, uint8_t value)
{
    for (const M6502WriteEntry* e = c.writeList; e->low != m6502ListEnd; ++e) {
        if (e->low <= address && address <= e->high) {
            if (e->handler(address, value) != 0)
                c.mem = M6502Engine::context.memory;
            return;
        }
    }
    c.mem[address] = value;
}

} // namespace vortastr::m6502
