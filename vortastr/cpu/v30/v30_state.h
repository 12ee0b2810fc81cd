#pragma once
// The working state of the engine while it runs: the processor's context plus what belongs
// to the instruction in progress (cycle counter, effective segment bases after an override,
// effective address) and the board's port functions. `execute` keeps it in a local.
#include "v30_context.h"
#include "v30_flags.h"

#include <bit>
#include <cstdint>

namespace vortastr::v30 {

static_assert(std::endian::native == std::endian::little,
              "byte registers are addressed as the bytes of the word registers");

constexpr uint32_t addressMask = 0xFFFFF; // 1 MB, addresses wrap

using PortRead = uint8_t (*)(uint16_t port);
using PortWrite = void (*)(uint16_t port, uint8_t value);

struct V30State : V30Context {
    int32_t cycles = 0;     // counter of the slice; the loop runs while it is positive
    uint32_t dataBase = 0;  // DS base, or the override's base for this instruction
    uint32_t stackBase = 0; // SS base for BP-based addressing, or the override's base
    uint32_t eaBase = 0;    // segment base of the current memory operand
    uint16_t eaOffset = 0;  // offset of the current memory operand
    PortRead portRead = nullptr;
    PortWrite portWrite = nullptr;

    // Byte register n in the 8086 order AL CL DL BL AH CH DH BH.
    uint8_t& reg8(int n) { return reinterpret_cast<uint8_t*>(reg)[((n & 3) << 1) | (n >> 2)]; }

    // --- memory: linear address = base + 16-bit offset, modulo 1 MB; words byte by byte,
    // the second byte at offset + 1 within the same segment.
    uint8_t read8(uint32_t base, uint32_t offset) const { return memory[(base + (offset & 0xFFFF)) & addressMask]; }
    void write8(uint32_t base, uint32_t offset, uint8_t value)
    {
        memory[(base + (offset & 0xFFFF)) & addressMask] = value;
    }
    uint16_t read16(uint32_t base, uint32_t offset) const
    {
        return uint16_t(read8(base, offset) | read8(base, offset + 1) << 8);
    }
    void write16(uint32_t base, uint32_t offset, uint16_t value)
    {
        write8(base, offset, uint8_t(value));
        write8(base, offset + 1, uint8_t(value >> 8));
    }

    // --- instruction stream
    uint8_t fetch8()
    {
        uint8_t value = memory[(segmentBase[CS] + ip) & addressMask];
        ip = (ip + 1) & 0xFFFF;
        return value;
    }
    uint16_t fetch16()
    {
        uint16_t low = fetch8();
        return uint16_t(low | fetch8() << 8);
    }

    // --- stack (always SS, never overridden)
    void push(uint16_t value)
    {
        reg[SP] = uint16_t(reg[SP] - 2);
        write16(segmentBase[SS], reg[SP], value);
    }
    uint16_t pop()
    {
        uint16_t value = read16(segmentBase[SS], reg[SP]);
        reg[SP] = uint16_t(reg[SP] + 2);
        return value;
    }

    // --- ports: the board's functions; words are two byte accesses at port and port + 1.
    uint8_t in8(uint16_t port) { return portRead ? portRead(port) : 0xFF; }
    void out8(uint16_t port, uint8_t value)
    {
        if (portWrite)
            portWrite(port, value);
    }
    uint16_t in16(uint16_t port) { return uint16_t(in8(port) | in8(uint16_t(port + 1)) << 8); }
    void out16(uint16_t port, uint16_t value)
    {
        out8(port, uint8_t(value));
        out8(uint16_t(port + 1), uint8_t(value >> 8));
    }
};

} // namespace vortastr::v30
