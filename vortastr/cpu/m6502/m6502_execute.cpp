// The instruction loop: fetch, dispatch through a 256-way switch whose cases are generated from
// the decode table, and the operations themselves.
#include "m6502_addressing.h"
#include "m6502_decode.h"
#include "m6502_engine.h"

namespace vortastr {

namespace m6502 {
namespace {

const M6502ReadEntry noReadHandlers[] = {{m6502ListEnd, 0, nullptr}};
const M6502WriteEntry noWriteHandlers[] = {{m6502ListEnd, 0, nullptr}};

M6502_INLINE void branch(Cpu& c, bool taken)
{
    int8_t offset = int8_t(fetch(c));
    if (taken) {
        c.pc = uint16_t(c.pc + offset);
        c.cycles += 1;
    }
}

M6502_INLINE void pushWord(Cpu& c, uint16_t value)
{
    push(c, uint8_t(value >> 8));
    push(c, uint8_t(value));
}

M6502_INLINE uint16_t pullWord(Cpu& c)
{
    uint16_t low = pull(c);
    return uint16_t(low | pull(c) << 8);
}

// P as pulled by PLP and RTI: B exists only in pushed copies and the unused bit reads as 1.
M6502_INLINE uint8_t pulledStatus(uint8_t value) { return uint8_t((value & ~m6502B) | m6502U); }

template <Op op, Mode mode>
M6502_INLINE void perform(Cpu& c)
{
    using enum Op;
    // Loads, stores and register transfers.
    if constexpr (op == LDA) {
        c.a = readOperand<mode>(c);
        c.p = setNz(c.p, c.a);
    } else if constexpr (op == LDX) {
        c.x = readOperand<mode>(c);
        c.p = setNz(c.p, c.x);
    } else if constexpr (op == LDY) {
        c.y = readOperand<mode>(c);
        c.p = setNz(c.p, c.y);
    } else if constexpr (op == STA) {
        writeOperand<mode>(c, c.a);
    } else if constexpr (op == STX) {
        writeOperand<mode>(c, c.x);
    } else if constexpr (op == STY) {
        writeOperand<mode>(c, c.y);
    } else if constexpr (op == TAX) {
        c.x = c.a;
        c.p = setNz(c.p, c.x);
    } else if constexpr (op == TAY) {
        c.y = c.a;
        c.p = setNz(c.p, c.y);
    } else if constexpr (op == TXA) {
        c.a = c.x;
        c.p = setNz(c.p, c.a);
    } else if constexpr (op == TYA) {
        c.a = c.y;
        c.p = setNz(c.p, c.a);
    } else if constexpr (op == TSX) {
        c.x = c.s;
        c.p = setNz(c.p, c.x);
    } else if constexpr (op == TXS) {
        c.s = c.x;
    }
    // Arithmetic and logic.
    else if constexpr (op == ADC) {
        c.a = add(c.a, readOperand<mode>(c), c.p);
    } else if constexpr (op == SBC) {
        c.a = subtract(c.a, readOperand<mode>(c), c.p);
    } else if constexpr (op == AND) {
        c.a &= readOperand<mode>(c);
        c.p = setNz(c.p, c.a);
    } else if constexpr (op == ORA) {
        c.a |= readOperand<mode>(c);
        c.p = setNz(c.p, c.a);
    } else if constexpr (op == EOR) {
        c.a ^= readOperand<mode>(c);
        c.p = setNz(c.p, c.a);
    } else if constexpr (op == CMP) {
        c.p = compare(c.a, readOperand<mode>(c), c.p);
    } else if constexpr (op == CPX) {
        c.p = compare(c.x, readOperand<mode>(c), c.p);
    } else if constexpr (op == CPY) {
        c.p = compare(c.y, readOperand<mode>(c), c.p);
    } else if constexpr (op == BIT) {
        c.p = bitTest(c.a, readOperand<mode>(c), c.p);
    }
    // Read-modify-write.
    else if constexpr (op == ASL) {
        modifyOperand<mode>(c, [&c](uint8_t v) { return shiftLeft(v, c.p); });
    } else if constexpr (op == LSR) {
        modifyOperand<mode>(c, [&c](uint8_t v) { return shiftRight(v, c.p); });
    } else if constexpr (op == ROL) {
        modifyOperand<mode>(c, [&c](uint8_t v) { return rotateLeft(v, c.p); });
    } else if constexpr (op == ROR) {
        modifyOperand<mode>(c, [&c](uint8_t v) { return rotateRight(v, c.p); });
    } else if constexpr (op == INC) {
        modifyOperand<mode>(c, [&c](uint8_t v) {
            c.p = setNz(c.p, ++v);
            return v;
        });
    } else if constexpr (op == DEC) {
        modifyOperand<mode>(c, [&c](uint8_t v) {
            c.p = setNz(c.p, --v);
            return v;
        });
    } else if constexpr (op == INX) {
        c.p = setNz(c.p, ++c.x);
    } else if constexpr (op == INY) {
        c.p = setNz(c.p, ++c.y);
    } else if constexpr (op == DEX) {
        c.p = setNz(c.p, --c.x);
    } else if constexpr (op == DEY) {
        c.p = setNz(c.p, --c.y);
    }
    // Flags.
    else if constexpr (op == CLC) {
        c.p &= ~m6502C;
    } else if constexpr (op == SEC) {
        c.p |= m6502C;
    } else if constexpr (op == CLI) {
        c.p &= ~m6502I;
    } else if constexpr (op == SEI) {
        c.p |= m6502I;
    } else if constexpr (op == CLD) {
        c.p &= ~m6502D;
    } else if constexpr (op == SED) {
        c.p |= m6502D;
    } else if constexpr (op == CLV) {
        c.p &= ~m6502V;
    }
    // Branches.
    else if constexpr (op == BPL) {
        branch(c, !(c.p & m6502N));
    } else if constexpr (op == BMI) {
        branch(c, c.p & m6502N);
    } else if constexpr (op == BVC) {
        branch(c, !(c.p & m6502V));
    } else if constexpr (op == BVS) {
        branch(c, c.p & m6502V);
    } else if constexpr (op == BCC) {
        branch(c, !(c.p & m6502C));
    } else if constexpr (op == BCS) {
        branch(c, c.p & m6502C);
    } else if constexpr (op == BNE) {
        branch(c, !(c.p & m6502Z));
    } else if constexpr (op == BEQ) {
        branch(c, c.p & m6502Z);
    }
    // Jumps, the stack and interrupts.
    else if constexpr (op == JMP) {
        c.pc = effectiveAddress<mode>(c);
    } else if constexpr (op == JSR) {
        uint16_t target = fetchWord(c);
        pushWord(c, uint16_t(c.pc - 1));
        c.pc = target;
    } else if constexpr (op == RTS) {
        c.pc = uint16_t(pullWord(c) + 1);
    } else if constexpr (op == RTI) {
        c.p = pulledStatus(pull(c));
        c.pc = pullWord(c);
        M6502Engine::context.nmiInProgress = 0;
    } else if constexpr (op == BRK) {
        pushWord(c, uint16_t(c.pc + 1)); // BRK's address + 2: its padding byte is skipped
        push(c, uint8_t(c.p | m6502B | m6502U));
        c.p |= m6502I;
        c.pc = readWord(c.mem, 0xFFFE);
    } else if constexpr (op == PHA) {
        push(c, c.a);
    } else if constexpr (op == PLA) {
        c.a = pull(c);
        c.p = setNz(c.p, c.a);
    } else if constexpr (op == PHP) {
        push(c, uint8_t(c.p | m6502B | m6502U));
    } else if constexpr (op == PLP) {
        c.p = pulledStatus(pull(c));
    } else if constexpr (op == NOP) {
    } else {
        static_assert(op == NOP, "operation without an implementation");
    }
}

// Runs the instruction at PC; false, with nothing changed, for an undocumented opcode.
template <int opcode>
M6502_INLINE bool step(Cpu& c)
{
    constexpr OpcodeInfo info = decodeTable[opcode];
    if constexpr (info.op == Op::None) {
        return false;
    } else {
        ++c.pc;
        c.cycles += info.cycles;
        perform<info.op, info.mode>(c);
        return true;
    }
}

} // namespace
} // namespace m6502

uint32_t M6502Engine::execute(int32_t count)
{
    using namespace m6502;
    M6502Context& ctx = context;
    if (count < 1 || !ctx.memory)
        return executeCompleted;
    Cpu c{ctx.memory,
          ctx.readList ? ctx.readList : noReadHandlers,
          ctx.writeList ? ctx.writeList : noWriteHandlers,
          ctx.cycleTotal,
          ctx.pc,
          ctx.a,
          ctx.x,
          ctx.y,
          ctx.s,
          ctx.p};
    uint8_t lastOpcode = ctx.lastOpcode;
    uint32_t result = executeCompleted;
    for (;;) {
        const uint8_t opcode = c.mem[c.pc];
        bool ran = false;
        switch (opcode) {
            // clang-format off
#define M6502_CASE(n) case n: ran = step<n>(c); break;
#define M6502_ROW(h) \
    M6502_CASE(h * 16 + 0) M6502_CASE(h * 16 + 1) M6502_CASE(h * 16 + 2) M6502_CASE(h * 16 + 3) \
    M6502_CASE(h * 16 + 4) M6502_CASE(h * 16 + 5) M6502_CASE(h * 16 + 6) M6502_CASE(h * 16 + 7) \
    M6502_CASE(h * 16 + 8) M6502_CASE(h * 16 + 9) M6502_CASE(h * 16 + 10) M6502_CASE(h * 16 + 11) \
    M6502_CASE(h * 16 + 12) M6502_CASE(h * 16 + 13) M6502_CASE(h * 16 + 14) M6502_CASE(h * 16 + 15)
            M6502_ROW(0) M6502_ROW(1) M6502_ROW(2) M6502_ROW(3) M6502_ROW(4) M6502_ROW(5) M6502_ROW(6) M6502_ROW(7)
            M6502_ROW(8) M6502_ROW(9) M6502_ROW(10) M6502_ROW(11) M6502_ROW(12) M6502_ROW(13) M6502_ROW(14) M6502_ROW(15)
#undef M6502_ROW
#undef M6502_CASE
            // clang-format on
        }
        if (!ran) {
            result = c.pc;
            break;
        }
        lastOpcode = opcode;
        if (--count == 0)
            break;
    }
    ctx.cycleTotal = c.cycles;
    ctx.pc = c.pc;
    ctx.a = c.a;
    ctx.x = c.x;
    ctx.y = c.y;
    ctx.s = c.s;
    ctx.p = c.p;
    ctx.lastOpcode = lastOpcode;
    return result;
}

} // namespace vortastr
