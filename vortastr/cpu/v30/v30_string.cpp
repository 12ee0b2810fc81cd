#include "v30_string.h"

#include "v30_alu.h"

namespace vortastr::v30 {

namespace {

struct StringCost {
    uint8_t single; // without a repeat prefix
    uint8_t repeatSetUp;
    uint8_t perRepeat;
};

// Published 8086 times (80186 for INS and OUTS), by opcode.
StringCost costOf(uint8_t opcode)
{
    switch (opcode & 0xFE) {
    case 0x6C:
    case 0x6E: return {14, 8, 8};  // INS, OUTS
    case 0xA4: return {18, 9, 17}; // MOVS
    case 0xA6: return {22, 9, 22}; // CMPS
    case 0xAA: return {11, 9, 10}; // STOS
    case 0xAC: return {12, 9, 13}; // LODS
    default: return {15, 9, 15};   // SCAS
    }
}

// One element; returns false when a CMPS or SCAS under `repeat` must stop.
template <int Bits>
bool stepOnce(V30State& s, uint8_t opcode, uint8_t repeat)
{
    constexpr uint16_t size = Bits / 8;
    const uint16_t delta = s.df ? uint16_t(-size) : size;
    const uint32_t es = s.segmentBase[ES];
    auto load = [&](uint32_t base, uint16_t offset) -> uint32_t {
        return Bits == 8 ? s.read8(base, offset) : s.read16(base, offset);
    };
    auto store = [&](uint32_t base, uint16_t offset, uint32_t value) {
        if constexpr (Bits == 8)
            s.write8(base, offset, uint8_t(value));
        else
            s.write16(base, offset, uint16_t(value));
    };
    const uint32_t acc = Bits == 8 ? s.reg8(0) : s.reg[AX];
    const uint16_t port = s.reg[DX] & 0xFF;
    switch (opcode & 0xFE) {
    case 0x6C: // INS: port DX to ES:DI
        store(es, s.reg[DI], Bits == 8 ? s.in8(port) : s.in16(port));
        s.reg[DI] = uint16_t(s.reg[DI] + delta);
        return true;
    case 0x6E: // OUTS: DS:SI (or the override) to port DX
        if constexpr (Bits == 8)
            s.out8(port, uint8_t(load(s.dataBase, s.reg[SI])));
        else
            s.out16(port, uint16_t(load(s.dataBase, s.reg[SI])));
        s.reg[SI] = uint16_t(s.reg[SI] + delta);
        return true;
    case 0xA4: // MOVS
        store(es, s.reg[DI], load(s.dataBase, s.reg[SI]));
        s.reg[SI] = uint16_t(s.reg[SI] + delta);
        s.reg[DI] = uint16_t(s.reg[DI] + delta);
        return true;
    case 0xA6: { // CMPS: source minus destination
        uint32_t a = load(s.dataBase, s.reg[SI]);
        uint32_t b = load(es, s.reg[DI]);
        subFlags<Bits>(s, a, b, 0);
        s.reg[SI] = uint16_t(s.reg[SI] + delta);
        s.reg[DI] = uint16_t(s.reg[DI] + delta);
        break;
    }
    case 0xAA: // STOS
        store(es, s.reg[DI], acc);
        s.reg[DI] = uint16_t(s.reg[DI] + delta);
        return true;
    case 0xAC: // LODS
        if constexpr (Bits == 8)
            s.reg8(0) = uint8_t(load(s.dataBase, s.reg[SI]));
        else
            s.reg[AX] = uint16_t(load(s.dataBase, s.reg[SI]));
        s.reg[SI] = uint16_t(s.reg[SI] + delta);
        return true;
    default: // SCAS: accumulator minus ES:DI
        subFlags<Bits>(s, acc, load(es, s.reg[DI]), 0);
        s.reg[DI] = uint16_t(s.reg[DI] + delta);
        break;
    }
    // CMPS and SCAS: REPE goes on while equal, REPNE while not equal.
    bool equal = s.zeroValue == 0;
    return repeat == repeatWhileEqual ? equal : !equal;
}

template <int Bits>
void run(V30State& s, uint8_t opcode, uint8_t repeat)
{
    StringCost cost = costOf(opcode);
    if (repeat == repeatNone) {
        stepOnce<Bits>(s, opcode, repeat);
        s.cycles -= cost.single;
        return;
    }
    s.cycles -= cost.repeatSetUp;
    while (s.reg[CX] != 0) {
        s.reg[CX] = uint16_t(s.reg[CX] - 1);
        s.cycles -= cost.perRepeat;
        if (!stepOnce<Bits>(s, opcode, repeat))
            break;
    }
}

} // namespace

void stringInstruction(V30State& s, uint8_t opcode, uint8_t repeat)
{
    if (opcode & 1)
        run<16>(s, opcode, repeat);
    else
        run<8>(s, opcode, repeat);
}

} // namespace vortastr::v30
