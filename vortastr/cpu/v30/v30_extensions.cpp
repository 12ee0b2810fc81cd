#include "v30_extensions.h"

#include "v30_alu.h"
#include "v30_interrupt.h"
#include "v30_modrm.h"

namespace vortastr::v30 {

void pushAll(V30State& s)
{
    uint16_t original = s.reg[SP];
    for (int r = AX; r <= DI; ++r)
        s.push(r == SP ? original : s.reg[r]);
    s.cycles -= 36;
}

void popAll(V30State& s)
{
    for (int r = DI; r >= AX; --r) {
        uint16_t value = s.pop();
        if (r != SP)
            s.reg[r] = value;
    }
    s.cycles -= 51;
}

void checkBound(V30State& s)
{
    uint32_t start = (s.ip - 1) & 0xFFFF; // the fault returns to the BOUND itself
    uint8_t modrm = s.fetch8();
    if (modrm >= 0xC0) { // no memory pair to check against
        s.cycles -= 4;
        return;
    }
    decodeModRm(s, modrm);
    int16_t index = int16_t(s.reg[(modrm >> 3) & 7]);
    int16_t low = int16_t(s.read16(s.eaBase, s.eaOffset));
    int16_t high = int16_t(rmWordAfter(s));
    s.cycles -= 35;
    if (index < low || index > high) {
        s.ip = start;
        enterInterrupt(s, 5);
        s.cycles -= 48;
    }
}

void enterFrame(V30State& s)
{
    uint16_t size = s.fetch16();
    uint8_t level = s.fetch8() & 0x1F;
    s.push(s.reg[BP]);
    uint16_t frame = s.reg[SP];
    if (level > 0) {
        for (int i = 1; i < level; ++i) {
            s.reg[BP] = uint16_t(s.reg[BP] - 2);
            s.push(s.read16(s.segmentBase[SS], s.reg[BP]));
        }
        s.push(frame);
    }
    s.reg[BP] = frame;
    s.reg[SP] = uint16_t(s.reg[SP] - size);
    s.cycles -= level == 0 ? 15 : level == 1 ? 25 : 22 + 16 * (level - 1);
}

namespace {

// TEST1, CLR1, SET1, NOT1: second bytes 0x10-0x17 take the bit number from CL, 0x18-0x1F
// from an immediate after the operand. Even second bytes work on bytes, odd on words. The
// bit number is taken modulo 16 for both sizes, so 8-15 reach no bit of a byte.
void bitInstruction(V30State& s, uint8_t second)
{
    uint8_t modrm = fetchModRm(s);
    bool word = second & 1;
    uint32_t bitNumber = (second & 0x08) ? s.fetch8() : s.reg8(1);
    uint32_t mask = (1u << (bitNumber & 15)) & (word ? 0xFFFF : 0xFF);
    uint32_t value = word ? rm16(s, modrm) : rm8(s, modrm);
    bool memory = modrm < 0xC0;
    int operation = (second >> 1) & 3; // TEST1, CLR1, SET1, NOT1
    static constexpr uint8_t registerCycles[4] = {3, 5, 4, 4};
    static constexpr uint8_t memoryCycles[4] = {12, 14, 13, 18};
    s.cycles -=
        (memory ? memoryCycles[operation] + (word ? 4 : 0) : registerCycles[operation]) + ((second & 0x08) ? 1 : 0);
    switch (operation) {
    case 0:
        s.zeroValue = value & mask; // ZF when the bit is 0
        s.carryValue = 0;
        s.overflowValue = 0;
        return;
    case 1: value &= ~mask; break;
    case 2: value |= mask; break;
    default: value ^= mask; break;
    }
    if (word)
        setRm16(s, modrm, uint16_t(value));
    else
        setRm8(s, modrm, uint8_t(value));
}

// ADD4S: adds the packed-decimal string at DS:SI (or the override) to the one at ES:DI,
// (CL + 1) / 2 bytes from the lowest address up; CF is the decimal carry out, ZF is set
// when every result byte is zero. SI and DI are left as they were.
void addDecimalStrings(V30State& s)
{
    uint32_t bytes = (uint32_t(s.reg8(1)) + 1) / 2;
    uint32_t carry = 0, anyNonZero = 0;
    for (uint32_t i = 0; i < bytes; ++i) {
        uint32_t a = s.read8(s.dataBase, s.reg[SI] + i);
        uint32_t b = s.read8(s.segmentBase[ES], s.reg[DI] + i);
        uint32_t low = (a & 0x0F) + (b & 0x0F) + carry;
        carry = low > 9;
        if (carry)
            low -= 10;
        uint32_t high = (a >> 4) + (b >> 4) + carry;
        carry = high > 9;
        if (carry)
            high -= 10;
        uint8_t result = uint8_t(((high & 0x0F) << 4) | (low & 0x0F)); // invalid digits stay 4 bits
        anyNonZero |= result;
        s.write8(s.segmentBase[ES], s.reg[DI] + i, result);
    }
    s.carryValue = carry;
    s.zeroValue = anyNonZero;
    s.cycles -= int32_t(7 + 19 * bytes);
}

} // namespace

void extendedInstruction(V30State& s)
{
    uint8_t second = s.fetch8();
    if (second >= 0x10 && second <= 0x1F)
        bitInstruction(s, second);
    else if (second == 0x20)
        addDecimalStrings(s);
    else
        s.cycles -= 4;
}

} // namespace vortastr::v30
