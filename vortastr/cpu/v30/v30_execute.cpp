// The instruction loop: one fetch and one 256-way dispatch per instruction. The processor
// state lives in a local copy for the whole slice and is written back at the end.
#include "v30_alu.h"
#include "v30_engine.h"
#include "v30_extensions.h"
#include "v30_interrupt.h"
#include "v30_modrm.h"
#include "v30_opcodes.h"
#include "v30_string.h"

namespace vortastr::v30 {

namespace {

constexpr int32_t jumpTakenExtra = 12; // Jcc: 4 not taken, 16 taken
// LOOPNE, LOOPE, LOOP, JCXZ when they jump; the grid holds their times when they do not.
constexpr int32_t loopTakenCycles[4] = {19, 18, 17, 18};
// A code segment full of prefix bytes would otherwise be one endless instruction: after a
// whole segment of them the instruction ends, and the counter they used ends the slice.
constexpr uint32_t maxPrefixes = 0x10000;

// The grid time of an opcode with one form.
inline void chargeBase(V30State& s, uint8_t opcode) { s.cycles -= registerFormCycles[opcode]; }

// The grid time of the register or the memory form.
inline void charge(V30State& s, uint8_t opcode, uint8_t modrm)
{
    s.cycles -= modrm >= 0xC0 ? registerFormCycles[opcode] : memoryFormCycles[opcode];
}

// 0x00-0x3F, columns 0-5: the eight ALU operations in their six operand forms.
void aluForm(V30State& s, uint8_t opcode)
{
    const int op = opcode >> 3;
    switch (opcode & 7) {
    case 0: { // Eb, Gb
        uint8_t modrm = fetchModRm(s);
        uint32_t r = alu<8>(s, op, rm8(s, modrm), byteRegister(s, modRmTable[modrm].regByte));
        if (op != aluCmp)
            setRm8(s, modrm, uint8_t(r));
        charge(s, opcode, modrm);
        break;
    }
    case 1: { // Ev, Gv
        uint8_t modrm = fetchModRm(s);
        uint32_t r = alu<16>(s, op, rm16(s, modrm), s.reg[modRmTable[modrm].regWord]);
        if (op != aluCmp)
            setRm16(s, modrm, uint16_t(r));
        charge(s, opcode, modrm);
        break;
    }
    case 2: { // Gb, Eb
        uint8_t modrm = fetchModRm(s);
        uint8_t& dst = byteRegister(s, modRmTable[modrm].regByte);
        uint32_t r = alu<8>(s, op, dst, rm8(s, modrm));
        if (op != aluCmp)
            dst = uint8_t(r);
        charge(s, opcode, modrm);
        break;
    }
    case 3: { // Gv, Ev
        uint8_t modrm = fetchModRm(s);
        uint16_t& dst = s.reg[modRmTable[modrm].regWord];
        uint32_t r = alu<16>(s, op, dst, rm16(s, modrm));
        if (op != aluCmp)
            dst = uint16_t(r);
        charge(s, opcode, modrm);
        break;
    }
    case 4: { // AL, Ib
        uint32_t r = alu<8>(s, op, s.reg8(0), s.fetch8());
        if (op != aluCmp)
            s.reg8(0) = uint8_t(r);
        chargeBase(s, opcode);
        break;
    }
    default: { // AX, Iw
        uint32_t r = alu<16>(s, op, s.reg[AX], s.fetch16());
        if (op != aluCmp)
            s.reg[AX] = uint16_t(r);
        chargeBase(s, opcode);
        break;
    }
    }
}

// 0x80, 0x81, 0x83: ALU operation on Eb/Ev with an immediate (0x83: byte sign-extended).
void aluImmediate(V30State& s, uint8_t opcode)
{
    uint8_t modrm = fetchModRm(s);
    const int op = (modrm >> 3) & 7;
    if (opcode == 0x80) {
        uint32_t r = alu<8>(s, op, rm8(s, modrm), s.fetch8());
        if (op != aluCmp)
            setRm8(s, modrm, uint8_t(r));
    } else {
        uint32_t imm = opcode == 0x81 ? s.fetch16() : uint16_t(int8_t(s.fetch8()));
        uint32_t r = alu<16>(s, op, rm16(s, modrm), imm);
        if (op != aluCmp)
            setRm16(s, modrm, uint16_t(r));
    }
    s.cycles -= modrm >= 0xC0 ? 4 : op == aluCmp ? 10 : 17;
}

// 0xC0, 0xC1, 0xD0-0xD3: the shift and rotate group with count 1, CL or an immediate.
void shiftGroup(V30State& s, uint8_t opcode)
{
    uint8_t modrm = fetchModRm(s);
    uint32_t count = opcode <= 0xC1 ? s.fetch8() : (opcode & 2) ? s.reg8(1) : 1;
    const int op = (modrm >> 3) & 7;
    if (opcode & 1)
        setRm16(s, modrm, uint16_t(shiftRotate<16>(s, op, rm16(s, modrm), count)));
    else
        setRm8(s, modrm, uint8_t(shiftRotate<8>(s, op, rm8(s, modrm), count)));
    charge(s, opcode, modrm);
    if (opcode != 0xD0 && opcode != 0xD1) // 4 per bit for CL counts, 1 per bit for immediates
        s.cycles -= int32_t(count) * (opcode >= 0xD0 ? 4 : 1);
}

void divideError(V30State& s)
{
    enterInterrupt(s, 0);
    s.cycles -= 51;
}

// 0xF6 and 0xF7: TEST, NOT, NEG, MUL, IMUL, DIV, IDIV.
template <int Bits>
void unaryGroup(V30State& s)
{
    using W = Width<Bits>;
    uint8_t modrm = fetchModRm(s);
    const int op = (modrm >> 3) & 7;
    const bool memory = modrm < 0xC0;
    auto get = [&]() -> uint32_t { return Bits == 8 ? rm8(s, modrm) : rm16(s, modrm); };
    auto set = [&](uint32_t v) {
        if constexpr (Bits == 8)
            setRm8(s, modrm, uint8_t(v));
        else
            setRm16(s, modrm, uint16_t(v));
    };
    // MUL, IMUL, DIV, IDIV: byte forms, then word forms (memory adds 6).
    static constexpr int32_t multiplyDivideCycles[2][4] = {{70, 80, 80, 101}, {118, 128, 144, 165}};
    switch (op) {
    case 0:
    case 1: { // TEST (1 is its undocumented twin)
        uint32_t imm = Bits == 8 ? s.fetch8() : s.fetch16();
        logicFlags<Bits>(s, get() & imm);
        s.cycles -= memory ? 11 : 5;
        return;
    }
    case 2:
        set(~get());
        s.cycles -= memory ? 16 : 3;
        return;
    case 3:
        set(subFlags<Bits>(s, 0, get(), 0));
        s.cycles -= memory ? 16 : 3;
        return;
    default: break;
    }
    s.cycles -= multiplyDivideCycles[Bits == 16][op - 4] + (memory ? 6 : 0);
    const uint32_t v = get();
    if (op == 4 || op == 5) {
        uint32_t low, high;
        if (op == 4) {
            uint32_t product = (Bits == 8 ? s.reg8(0) : s.reg[AX]) * v;
            low = product & W::mask;
            high = (product >> Bits) & W::mask;
            s.carryValue = s.overflowValue = high != 0;
        } else {
            int32_t product = W::signed_(Bits == 8 ? s.reg8(0) : s.reg[AX]) * W::signed_(v);
            low = uint32_t(product) & W::mask;
            high = (uint32_t(product) >> Bits) & W::mask;
            s.carryValue = s.overflowValue = product != W::signed_(low);
        }
        setSignZeroParity<Bits>(s, low);
        s.auxValue = 0;
        if constexpr (Bits == 8) {
            s.reg[AX] = uint16_t(high << 8 | low);
        } else {
            s.reg[AX] = uint16_t(low);
            s.reg[DX] = uint16_t(high);
        }
        return;
    }
    // DIV and IDIV: a zero divisor or a quotient out of range enters interrupt 0 with IP
    // after the instruction.
    const uint32_t dividend = Bits == 8 ? s.reg[AX] : (uint32_t(s.reg[DX]) << 16 | s.reg[AX]);
    if (v == 0)
        return divideError(s);
    uint32_t quotient, remainder;
    if (op == 6) {
        uint32_t q = dividend / v;
        if (q > W::mask)
            return divideError(s);
        quotient = q;
        remainder = dividend % v;
    } else {
        int64_t a = Bits == 8 ? int64_t(int16_t(dividend)) : int64_t(int32_t(dividend));
        int64_t d = W::signed_(v);
        int64_t q = a / d;
        // The 8086 refuses the most negative quotient as well.
        if (q > int64_t(W::signBit - 1) || q < -int64_t(W::signBit - 1))
            return divideError(s);
        quotient = uint32_t(q) & W::mask;
        remainder = uint32_t(a % d) & W::mask;
    }
    if constexpr (Bits == 8) {
        s.reg[AX] = uint16_t(remainder << 8 | quotient);
    } else {
        s.reg[AX] = uint16_t(quotient);
        s.reg[DX] = uint16_t(remainder);
    }
}

// 0xFE and 0xFF: INC, DEC, and for words CALL, CALL far, JMP, JMP far, PUSH.
void incDecByte(V30State& s)
{
    uint8_t modrm = fetchModRm(s);
    const int op = (modrm >> 3) & 7;
    if (op == 0)
        setRm8(s, modrm, uint8_t(increment<8>(s, rm8(s, modrm))));
    else if (op == 1)
        setRm8(s, modrm, uint8_t(decrement<8>(s, rm8(s, modrm))));
    // Other reg fields do nothing here.
    charge(s, 0xFE, modrm);
}

void wordGroup(V30State& s)
{
    uint8_t modrm = fetchModRm(s);
    const bool memory = modrm < 0xC0;
    switch ((modrm >> 3) & 7) {
    case 0:
        setRm16(s, modrm, uint16_t(increment<16>(s, rm16(s, modrm))));
        s.cycles -= memory ? 15 : 3;
        break;
    case 1:
        setRm16(s, modrm, uint16_t(decrement<16>(s, rm16(s, modrm))));
        s.cycles -= memory ? 15 : 3;
        break;
    case 2: {
        uint16_t target = rm16(s, modrm);
        s.push(uint16_t(s.ip));
        s.ip = target;
        s.cycles -= memory ? 21 : 16;
        break;
    }
    case 3: // far forms need a memory operand; a register form does nothing
        if (memory) {
            uint16_t offset = rm16(s, modrm), segment = rmWordAfter(s);
            s.push(uint16_t(s.segment[CS]));
            s.push(uint16_t(s.ip));
            s.setSegment(CS, segment);
            s.ip = offset;
        }
        s.cycles -= 37;
        break;
    case 4:
        s.ip = rm16(s, modrm);
        s.cycles -= memory ? 18 : 11;
        break;
    case 5:
        if (memory) {
            s.ip = rm16(s, modrm);
            s.setSegment(CS, rmWordAfter(s));
        }
        s.cycles -= 24;
        break;
    default: { // PUSH (7 is its undocumented twin); PUSH SP pushes the decremented value
        uint16_t value = rm16(s, modrm);
        if (!memory && (modrm & 7) == SP)
            value = uint16_t(value - 2);
        s.push(value);
        s.cycles -= memory ? 16 : 11;
        break;
    }
    }
}

void multiplyImmediate(V30State& s, bool byteImmediate) // 0x69, 0x6B
{
    uint8_t modrm = fetchModRm(s);
    int32_t a = int16_t(rm16(s, modrm));
    int32_t b = byteImmediate ? int8_t(s.fetch8()) : int16_t(s.fetch16());
    int32_t product = a * b;
    s.reg[modRmTable[modrm].regWord] = uint16_t(product);
    s.carryValue = s.overflowValue = product != int16_t(product);
    setSignZeroParity<16>(s, uint32_t(product));
    charge(s, byteImmediate ? 0x6B : 0x69, modrm);
}

} // namespace

int32_t V30Engine::execute(int32_t budget)
{
    if (!state_.memory) // never reset onto a memory block: nothing to run
        return 0;
    if (state_.pendingVector)
        takePendingInterrupt();
    V30State s = state_;
    s.cycles = budget;
    while (s.cycles > 0) {
        s.dataBase = s.segmentBase[DS];
        s.stackBase = s.segmentBase[SS];
        uint8_t repeat = repeatNone;
        uint32_t prefixes = 0;
        uint8_t opcode = s.fetch8();
    dispatch:
        switch (opcode) {
        // --- ALU grid and the one-byte instructions in its columns 6, 7, E, F
        case 0x00:
        case 0x01:
        case 0x02:
        case 0x03:
        case 0x04:
        case 0x05:
        case 0x08:
        case 0x09:
        case 0x0A:
        case 0x0B:
        case 0x0C:
        case 0x0D:
        case 0x10:
        case 0x11:
        case 0x12:
        case 0x13:
        case 0x14:
        case 0x15:
        case 0x18:
        case 0x19:
        case 0x1A:
        case 0x1B:
        case 0x1C:
        case 0x1D:
        case 0x20:
        case 0x21:
        case 0x22:
        case 0x23:
        case 0x24:
        case 0x25:
        case 0x28:
        case 0x29:
        case 0x2A:
        case 0x2B:
        case 0x2C:
        case 0x2D:
        case 0x30:
        case 0x31:
        case 0x32:
        case 0x33:
        case 0x34:
        case 0x35:
        case 0x38:
        case 0x39:
        case 0x3A:
        case 0x3B:
        case 0x3C:
        case 0x3D: aluForm(s, opcode); break;
        case 0x06:
        case 0x0E:
        case 0x16:
        case 0x1E: // PUSH sreg
            s.push(uint16_t(s.segment[opcode >> 3]));
            chargeBase(s, opcode);
            break;
        case 0x07:
        case 0x17:
        case 0x1F: // POP ES, POP SS, POP DS
            s.setSegment(opcode >> 3, s.pop());
            chargeBase(s, opcode);
            break;
        case 0x0F: extendedInstruction(s); break;
        case 0x26:
        case 0x2E:
        case 0x36:
        case 0x3E: // segment overrides
            s.dataBase = s.stackBase = s.segmentBase[(opcode >> 3) & 3];
            chargeBase(s, opcode);
            if (++prefixes > maxPrefixes)
                break;
            opcode = s.fetch8();
            goto dispatch;
        case 0x27:
            decimalAdjustAdd(s);
            chargeBase(s, opcode);
            break;
        case 0x2F:
            decimalAdjustSubtract(s);
            chargeBase(s, opcode);
            break;
        case 0x37:
            asciiAdjust(s, true);
            chargeBase(s, opcode);
            break;
        case 0x3F:
            asciiAdjust(s, false);
            chargeBase(s, opcode);
            break;

        // --- INC, DEC, PUSH, POP of word registers
        case 0x40:
        case 0x41:
        case 0x42:
        case 0x43:
        case 0x44:
        case 0x45:
        case 0x46:
        case 0x47:
            s.reg[opcode & 7] = uint16_t(increment<16>(s, s.reg[opcode & 7]));
            chargeBase(s, opcode);
            break;
        case 0x48:
        case 0x49:
        case 0x4A:
        case 0x4B:
        case 0x4C:
        case 0x4D:
        case 0x4E:
        case 0x4F:
            s.reg[opcode & 7] = uint16_t(decrement<16>(s, s.reg[opcode & 7]));
            chargeBase(s, opcode);
            break;
        case 0x50:
        case 0x51:
        case 0x52:
        case 0x53:
        case 0x55:
        case 0x56:
        case 0x57:
            s.push(s.reg[opcode & 7]);
            chargeBase(s, opcode);
            break;
        case 0x54: // PUSH SP stores the value after the decrement, as the 8086 does
            s.push(uint16_t(s.reg[SP] - 2));
            chargeBase(s, opcode);
            break;
        case 0x58:
        case 0x59:
        case 0x5A:
        case 0x5B:
        case 0x5C:
        case 0x5D:
        case 0x5E:
        case 0x5F: {
            uint16_t value = s.pop();
            s.reg[opcode & 7] = value;
            chargeBase(s, opcode);
            break;
        }

        // --- 80186 additions
        case 0x60: pushAll(s); break;
        case 0x61: popAll(s); break;
        case 0x62: checkBound(s); break;
        case 0x68:
            s.push(s.fetch16());
            chargeBase(s, opcode);
            break;
        case 0x6A:
            s.push(uint16_t(int8_t(s.fetch8())));
            chargeBase(s, opcode);
            break;
        case 0x69: multiplyImmediate(s, false); break;
        case 0x6B: multiplyImmediate(s, true); break;
        case 0x6C:
        case 0x6D:
        case 0x6E:
        case 0x6F: stringInstruction(s, opcode, repeat); break;
        case 0xC8: enterFrame(s); break;
        case 0xC9: // LEAVE
            s.reg[SP] = s.reg[BP];
            s.reg[BP] = s.pop();
            chargeBase(s, opcode);
            break;

        // --- not implemented: step back onto the opcode and spin there
        case 0x63:
        case 0x64:
        case 0x65:
        case 0x66:
        case 0x67:
        case 0x82:
        case 0xD6:
        case 0xF1:
            s.ip = (s.ip - 1) & 0xFFFF;
            chargeBase(s, opcode);
            break;

        // --- conditional jumps
        case 0x70:
        case 0x71:
        case 0x72:
        case 0x73:
        case 0x74:
        case 0x75:
        case 0x76:
        case 0x77:
        case 0x78:
        case 0x79:
        case 0x7A:
        case 0x7B:
        case 0x7C:
        case 0x7D:
        case 0x7E:
        case 0x7F: {
            int8_t displacement = int8_t(s.fetch8());
            chargeBase(s, opcode);
            if (conditionHolds(s, opcode & 15)) {
                s.ip = (s.ip + displacement) & 0xFFFF;
                s.cycles -= jumpTakenExtra;
            }
            break;
        }

        // --- 0x80 row
        case 0x80:
        case 0x81:
        case 0x83: aluImmediate(s, opcode); break;
        case 0x84:
        case 0x85: { // TEST Eb/Ev, Gb/Gv
            uint8_t modrm = fetchModRm(s);
            if (opcode == 0x84)
                logicFlags<8>(s, rm8(s, modrm) & byteRegister(s, modRmTable[modrm].regByte));
            else
                logicFlags<16>(s, rm16(s, modrm) & s.reg[modRmTable[modrm].regWord]);
            charge(s, opcode, modrm);
            break;
        }
        case 0x86: { // XCHG Eb, Gb
            uint8_t modrm = fetchModRm(s);
            uint8_t& r = byteRegister(s, modRmTable[modrm].regByte);
            uint8_t other = rm8(s, modrm);
            setRm8(s, modrm, r);
            r = other;
            charge(s, opcode, modrm);
            break;
        }
        case 0x87: { // XCHG Ev, Gv
            uint8_t modrm = fetchModRm(s);
            uint16_t& r = s.reg[modRmTable[modrm].regWord];
            uint16_t other = rm16(s, modrm);
            setRm16(s, modrm, r);
            r = other;
            charge(s, opcode, modrm);
            break;
        }
        case 0x88: { // MOV Eb, Gb
            uint8_t modrm = fetchModRm(s);
            setRm8(s, modrm, byteRegister(s, modRmTable[modrm].regByte));
            charge(s, opcode, modrm);
            break;
        }
        case 0x89: { // MOV Ev, Gv
            uint8_t modrm = fetchModRm(s);
            setRm16(s, modrm, s.reg[modRmTable[modrm].regWord]);
            charge(s, opcode, modrm);
            break;
        }
        case 0x8A: { // MOV Gb, Eb
            uint8_t modrm = fetchModRm(s);
            byteRegister(s, modRmTable[modrm].regByte) = rm8(s, modrm);
            charge(s, opcode, modrm);
            break;
        }
        case 0x8B: { // MOV Gv, Ev
            uint8_t modrm = fetchModRm(s);
            s.reg[modRmTable[modrm].regWord] = rm16(s, modrm);
            charge(s, opcode, modrm);
            break;
        }
        case 0x8C: { // MOV Ew, Sreg (two bits of reg select the segment register)
            uint8_t modrm = fetchModRm(s);
            setRm16(s, modrm, uint16_t(s.segment[(modrm >> 3) & 3]));
            charge(s, opcode, modrm);
            break;
        }
        case 0x8D: { // LEA; a register form has no address and changes nothing
            uint8_t modrm = fetchModRm(s);
            if (modrm < 0xC0)
                s.reg[modRmTable[modrm].regWord] = s.eaOffset;
            charge(s, opcode, modrm);
            break;
        }
        case 0x8E: { // MOV Sreg, Ew
            uint8_t modrm = fetchModRm(s);
            const int index = (modrm >> 3) & 3;
            s.setSegment(index, rm16(s, modrm));
            charge(s, opcode, modrm);
            break;
        }
        case 0x8F: { // POP Ev
            uint8_t modrm = fetchModRm(s);
            setRm16(s, modrm, s.pop());
            charge(s, opcode, modrm);
            break;
        }

        // --- 0x90 row
        case 0x90: chargeBase(s, opcode); break; // NOP
        case 0x91:
        case 0x92:
        case 0x93:
        case 0x94:
        case 0x95:
        case 0x96:
        case 0x97: {
            uint16_t other = s.reg[opcode & 7];
            s.reg[opcode & 7] = s.reg[AX];
            s.reg[AX] = other;
            chargeBase(s, opcode);
            break;
        }
        case 0x98:
            s.reg[AX] = uint16_t(int8_t(s.reg8(0)));
            chargeBase(s, opcode);
            break; // CBW
        case 0x99:
            s.reg[DX] = (s.reg[AX] & 0x8000) ? 0xFFFF : 0;
            chargeBase(s, opcode);
            break;   // CWD
        case 0x9A: { // CALL far
            uint16_t offset = s.fetch16(), segment = s.fetch16();
            s.push(uint16_t(s.segment[CS]));
            s.push(uint16_t(s.ip));
            s.setSegment(CS, segment);
            s.ip = offset;
            chargeBase(s, opcode);
            break;
        }
        case 0x9B: chargeBase(s, opcode); break; // WAIT: no coprocessor to wait for
        case 0x9C:
            s.push(composeFlags(s));
            chargeBase(s, opcode);
            break;
        case 0x9D:
            decomposeFlags(s, s.pop());
            chargeBase(s, opcode);
            break;
        case 0x9E:
            decomposeLowFlags(s, s.reg8(4));
            chargeBase(s, opcode);
            break; // SAHF
        case 0x9F:
            s.reg8(4) = uint8_t(composeFlags(s));
            chargeBase(s, opcode);
            break; // LAHF

        // --- 0xA0 row
        case 0xA0:
            s.reg8(0) = s.read8(s.dataBase, s.fetch16());
            chargeBase(s, opcode);
            break;
        case 0xA1:
            s.reg[AX] = s.read16(s.dataBase, s.fetch16());
            chargeBase(s, opcode);
            break;
        case 0xA2:
            s.write8(s.dataBase, s.fetch16(), s.reg8(0));
            chargeBase(s, opcode);
            break;
        case 0xA3:
            s.write16(s.dataBase, s.fetch16(), s.reg[AX]);
            chargeBase(s, opcode);
            break;
        case 0xA4:
        case 0xA5:
        case 0xA6:
        case 0xA7:
        case 0xAA:
        case 0xAB:
        case 0xAC:
        case 0xAD:
        case 0xAE:
        case 0xAF: stringInstruction(s, opcode, repeat); break;
        case 0xA8:
            logicFlags<8>(s, s.reg8(0) & s.fetch8());
            chargeBase(s, opcode);
            break;
        case 0xA9:
            logicFlags<16>(s, s.reg[AX] & s.fetch16());
            chargeBase(s, opcode);
            break;

        // --- MOV register, immediate
        case 0xB0:
        case 0xB1:
        case 0xB2:
        case 0xB3:
        case 0xB4:
        case 0xB5:
        case 0xB6:
        case 0xB7:
            s.reg8(opcode & 7) = s.fetch8();
            chargeBase(s, opcode);
            break;
        case 0xB8:
        case 0xB9:
        case 0xBA:
        case 0xBB:
        case 0xBC:
        case 0xBD:
        case 0xBE:
        case 0xBF:
            s.reg[opcode & 7] = s.fetch16();
            chargeBase(s, opcode);
            break;

        // --- 0xC0 row
        case 0xC0:
        case 0xC1:
        case 0xD0:
        case 0xD1:
        case 0xD2:
        case 0xD3: shiftGroup(s, opcode); break;
        case 0xC2: { // RET imm16
            uint16_t release = s.fetch16();
            s.ip = s.pop();
            s.reg[SP] = uint16_t(s.reg[SP] + release);
            chargeBase(s, opcode);
            break;
        }
        case 0xC3:
            s.ip = s.pop();
            chargeBase(s, opcode);
            break;
        case 0xC4:
        case 0xC5: { // LES, LDS; a register form has no pointer and changes nothing
            uint8_t modrm = fetchModRm(s);
            if (modrm < 0xC0) {
                uint16_t offset = rm16(s, modrm), segment = rmWordAfter(s);
                s.reg[modRmTable[modrm].regWord] = offset;
                s.setSegment(opcode == 0xC4 ? ES : DS, segment);
            }
            charge(s, opcode, modrm);
            break;
        }
        case 0xC6: { // MOV Eb, Ib
            uint8_t modrm = fetchModRm(s);
            setRm8(s, modrm, s.fetch8());
            charge(s, opcode, modrm);
            break;
        }
        case 0xC7: { // MOV Ev, Iw
            uint8_t modrm = fetchModRm(s);
            setRm16(s, modrm, s.fetch16());
            charge(s, opcode, modrm);
            break;
        }
        case 0xCA:
        case 0xCB: { // RETF, RETF imm16
            uint16_t release = opcode == 0xCA ? s.fetch16() : 0;
            s.ip = s.pop();
            s.setSegment(CS, s.pop());
            s.reg[SP] = uint16_t(s.reg[SP] + release);
            chargeBase(s, opcode);
            break;
        }
        case 0xCC:
            enterInterrupt(s, 3);
            chargeBase(s, opcode);
            break;
        case 0xCD:
            enterInterrupt(s, s.fetch8());
            chargeBase(s, opcode);
            break;
        case 0xCE: // INTO
            if (s.overflowValue) {
                enterInterrupt(s, 4);
                s.cycles -= 53;
            } else {
                chargeBase(s, opcode);
            }
            break;
        case 0xCF: // IRET
            s.ip = s.pop();
            s.setSegment(CS, s.pop());
            decomposeFlags(s, s.pop());
            chargeBase(s, opcode);
            break;

        // --- 0xD0 row
        case 0xD4: { // AAM
            uint8_t base = s.fetch8();
            if (base == 0) {
                divideError(s);
                break;
            }
            uint8_t al = s.reg8(0);
            s.reg8(4) = uint8_t(al / base);
            s.reg8(0) = uint8_t(al % base);
            logicFlags<8>(s, s.reg8(0));
            chargeBase(s, opcode);
            break;
        }
        case 0xD5: { // AAD
            uint8_t base = s.fetch8();
            uint8_t al = uint8_t(addFlags<8>(s, s.reg8(0), uint8_t(s.reg8(4) * base), 0));
            s.reg[AX] = al;
            chargeBase(s, opcode);
            break;
        }
        case 0xD7:
            s.reg8(0) = s.read8(s.dataBase, uint16_t(s.reg[BX] + s.reg8(0)));
            chargeBase(s, opcode);
            break;
        case 0xD8:
        case 0xD9:
        case 0xDA:
        case 0xDB:
        case 0xDC:
        case 0xDD:
        case 0xDE:
        case 0xDF: {
            uint8_t modrm = fetchModRm(s); // escape to a coprocessor that is not there
            charge(s, opcode, modrm);
            break;
        }

        // --- 0xE0 row
        case 0xE0:
        case 0xE1:
        case 0xE2:
        case 0xE3: { // LOOPNE, LOOPE, LOOP, JCXZ
            int8_t displacement = int8_t(s.fetch8());
            bool taken;
            if (opcode == 0xE3) {
                taken = s.reg[CX] == 0;
            } else {
                s.reg[CX] = uint16_t(s.reg[CX] - 1);
                taken = s.reg[CX] != 0 && (opcode == 0xE2 || (opcode == 0xE1) == (s.zeroValue == 0));
            }
            if (taken) {
                s.ip = (s.ip + displacement) & 0xFFFF;
                s.cycles -= loopTakenCycles[opcode & 3];
            } else {
                chargeBase(s, opcode);
            }
            break;
        }
        case 0xE4:
            s.reg8(0) = s.in8(s.fetch8());
            chargeBase(s, opcode);
            break;
        case 0xE5:
            s.reg[AX] = s.in16(s.fetch8());
            chargeBase(s, opcode);
            break;
        case 0xE6:
            s.out8(s.fetch8(), s.reg8(0));
            chargeBase(s, opcode);
            break;
        case 0xE7:
            s.out16(s.fetch8(), s.reg[AX]);
            chargeBase(s, opcode);
            break;
        case 0xE8: { // CALL near
            uint16_t displacement = s.fetch16();
            s.push(uint16_t(s.ip));
            s.ip = (s.ip + displacement) & 0xFFFF;
            chargeBase(s, opcode);
            break;
        }
        case 0xE9: {
            uint16_t displacement = s.fetch16();
            s.ip = (s.ip + displacement) & 0xFFFF;
            chargeBase(s, opcode);
            break;
        }
        case 0xEA: { // JMP far
            uint16_t offset = s.fetch16(), segment = s.fetch16();
            s.setSegment(CS, segment);
            s.ip = offset;
            chargeBase(s, opcode);
            break;
        }
        case 0xEB: {
            int8_t displacement = int8_t(s.fetch8());
            s.ip = (s.ip + displacement) & 0xFFFF;
            chargeBase(s, opcode);
            break;
        }
        case 0xEC:
            s.reg8(0) = s.in8(s.reg[DX] & 0xFF);
            chargeBase(s, opcode);
            break;
        case 0xED:
            s.reg[AX] = s.in16(s.reg[DX] & 0xFF);
            chargeBase(s, opcode);
            break;
        case 0xEE:
            s.out8(s.reg[DX] & 0xFF, s.reg8(0));
            chargeBase(s, opcode);
            break;
        case 0xEF:
            s.out16(s.reg[DX] & 0xFF, s.reg[AX]);
            chargeBase(s, opcode);
            break;

        // --- 0xF0 row
        case 0xF0: // LOCK: nothing to lock
            chargeBase(s, opcode);
            if (++prefixes > maxPrefixes)
                break;
            opcode = s.fetch8();
            goto dispatch;
        case 0xF2:
        case 0xF3:
            repeat = opcode;
            chargeBase(s, opcode);
            if (++prefixes > maxPrefixes)
                break;
            opcode = s.fetch8();
            goto dispatch;
        case 0xF4: s.cycles = 0; break; // HLT: the slice ends; IP is already past it
        case 0xF5:
            s.carryValue = !s.carryValue;
            chargeBase(s, opcode);
            break;
        case 0xF6: unaryGroup<8>(s); break;
        case 0xF7: unaryGroup<16>(s); break;
        case 0xF8:
            s.carryValue = 0;
            chargeBase(s, opcode);
            break;
        case 0xF9:
            s.carryValue = 1;
            chargeBase(s, opcode);
            break;
        case 0xFA:
            s.interruptFlag = 0;
            chargeBase(s, opcode);
            break;
        case 0xFB:
            s.interruptFlag = 1;
            chargeBase(s, opcode);
            break;
        case 0xFC:
            s.df = 0;
            chargeBase(s, opcode);
            break;
        case 0xFD:
            s.df = 1;
            chargeBase(s, opcode);
            break;
        case 0xFE: incDecByte(s); break;
        case 0xFF: wordGroup(s); break;
        }
    }
    static_cast<V30Context&>(state_) = s;
    state_.cycles = s.cycles;
    return budget - s.cycles;
}

} // namespace vortastr::v30
