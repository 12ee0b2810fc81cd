// The instruction loop of Z80Engine. The registers live in locals for the whole call and go
// back into the loaded context when it ends. Each opcode page is one switch over its 256
// values (a jump table); the prefixed pages are in z80_page_*.inc, included into the loop.
#include "z80_alu.h"
#include "z80_bus.h"
#include "z80_cycles.h"
#include "z80_engine.h"
#include "z80_state.h"

namespace vortastr {

using namespace z80;

namespace {
// The signed count wraps like the unsigned budget instead of overflowing on huge budgets.
inline int32_t addCycles(int32_t used, uint32_t cost) { return int32_t(uint32_t(used) + cost); }
} // namespace

uint32_t Z80Engine::execute(uint32_t budget)
{
    Z80Context& ctx = engine.context;
    engine.cyclesThisCall = 0;
    engine.remaining = budget;
    if (ctx.halted || ctx.memory == nullptr) {
        engine.remaining = 0;
        return sliceDone;
    }

    uint8_t* const mem = ctx.memory;
    const Z80MemoryReadEntry* const readList = ctx.readList ? ctx.readList : emptyReadList;
    const Z80MemoryWriteEntry* const writeList = ctx.writeList ? ctx.writeList : emptyWriteList;
    const Z80PortInputEntry* const inputList = ctx.inputList ? ctx.inputList : emptyInputList;
    const Z80PortOutputEntry* const outputList = ctx.outputList ? ctx.outputList : emptyOutputList;

    uint8_t A = uint8_t(ctx.af >> 8), F = uint8_t(ctx.af);
    uint8_t B = uint8_t(ctx.bc >> 8), C = uint8_t(ctx.bc);
    uint8_t D = uint8_t(ctx.de >> 8), E = uint8_t(ctx.de);
    uint8_t H = uint8_t(ctx.hl >> 8), L = uint8_t(ctx.hl);
    uint16_t IX = ctx.ix, IY = ctx.iy, SP = ctx.sp, PC = ctx.pc;
    uint32_t remaining = budget;
    uint32_t result = sliceDone;

#define BC uint16_t(B << 8 | C)
#define DE uint16_t(D << 8 | E)
#define HL uint16_t(H << 8 | L)
#define SET_BC(v) (B = uint8_t((v) >> 8), C = uint8_t(v))
#define SET_DE(v) (D = uint8_t((v) >> 8), E = uint8_t(v))
#define SET_HL(v) (H = uint8_t((v) >> 8), L = uint8_t(v))
#define FETCH() mem[PC++]
#define FETCH16(into) (into = peekWord(mem, PC), PC = uint16_t(PC + 2))
#define RD(a) readData(mem, readList, uint16_t(a))
#define WR(a, v) writeData(mem, writeList, uint16_t(a), uint8_t(v))
#define RD16(into, a)                                                                                                  \
    do {                                                                                                               \
        uint16_t at_ = uint16_t(a);                                                                                    \
        uint8_t lo_ = RD(at_);                                                                                         \
        into = uint16_t(lo_ | RD(at_ + 1) << 8);                                                                       \
    } while (0)
#define WR16(a, v)                                                                                                     \
    do {                                                                                                               \
        uint16_t at_ = uint16_t(a), v_ = uint16_t(v);                                                                  \
        WR(at_, v_);                                                                                                   \
        WR(at_ + 1, v_ >> 8);                                                                                          \
    } while (0)
#define PUSH_LISTED(v)                                                                                                 \
    do {                                                                                                               \
        uint16_t v_ = uint16_t(v);                                                                                     \
        WR(SP - 1, v_ >> 8);                                                                                           \
        WR(SP - 2, v_);                                                                                                \
        SP = uint16_t(SP - 2);                                                                                         \
    } while (0)
#define POP_LISTED(into)                                                                                               \
    do {                                                                                                               \
        RD16(into, SP);                                                                                                \
        SP = uint16_t(SP + 2);                                                                                         \
    } while (0)
#define PUSH_DIRECT(v) (SP = uint16_t(SP - 2), pokeWord(mem, SP, uint16_t(v)))
#define POP_DIRECT(into) (into = peekWord(mem, SP), SP = uint16_t(SP + 2))

#define OP_ADD(v) add8(A, F, v, 0)
#define OP_ADC(v) add8(A, F, v, F& flagC)
#define OP_SUB(v) sub8(A, F, v, 0)
#define OP_SBC(v) sub8(A, F, v, F& flagC)
#define OP_AND(v) and8(A, F, v)
#define OP_XOR(v) xor8(A, F, v)
#define OP_OR(v) or8(A, F, v)
#define OP_CP(v) sub8Flags(A, F, v, 0)

#define FLAG_NZ (!(F & flagZ))
#define FLAG_Z (F & flagZ)
#define FLAG_NC (!(F & flagC))
#define FLAG_C (F & flagC)
#define FLAG_PO (!(F & flagPV))
#define FLAG_PE (F & flagPV)
#define FLAG_P (!(F & flagS))
#define FLAG_M (F & flagS)

#define LD_ROW(base, dst)                                                                                              \
    case base + 0: dst = B; break;                                                                                     \
    case base + 1: dst = C; break;                                                                                     \
    case base + 2: dst = D; break;                                                                                     \
    case base + 3: dst = E; break;                                                                                     \
    case base + 4: dst = H; break;                                                                                     \
    case base + 5: dst = L; break;                                                                                     \
    case base + 6: dst = RD(HL); break;                                                                                \
    case base + 7:                                                                                                     \
        dst = A;                                                                                                       \
        break;
#define ALU_ROW(base, OP)                                                                                              \
    case base + 0: OP(B); break;                                                                                       \
    case base + 1: OP(C); break;                                                                                       \
    case base + 2: OP(D); break;                                                                                       \
    case base + 3: OP(E); break;                                                                                       \
    case base + 4: OP(H); break;                                                                                       \
    case base + 5: OP(L); break;                                                                                       \
    case base + 6: OP(RD(HL)); break;                                                                                  \
    case base + 7:                                                                                                     \
        OP(A);                                                                                                         \
        break;
#define JR_IF(op, cond)                                                                                                \
    case op: {                                                                                                         \
        int8_t e_ = int8_t(FETCH());                                                                                   \
        if (cond) {                                                                                                    \
            PC = uint16_t(PC + e_);                                                                                    \
            cost += takenJrExtra;                                                                                      \
        }                                                                                                              \
    } break;
#define RET_IF(op, cond)                                                                                               \
    case op:                                                                                                           \
        if (cond) {                                                                                                    \
            POP_DIRECT(PC);                                                                                            \
            cost += takenRetExtra;                                                                                     \
        }                                                                                                              \
        break;
#define JP_IF(op, cond)                                                                                                \
    case op: {                                                                                                         \
        uint16_t t_;                                                                                                   \
        FETCH16(t_);                                                                                                   \
        if (cond)                                                                                                      \
            PC = t_;                                                                                                   \
    } break;
#define CALL_IF(op, cond)                                                                                              \
    case op: {                                                                                                         \
        uint16_t t_;                                                                                                   \
        FETCH16(t_);                                                                                                   \
        if (cond) {                                                                                                    \
            PUSH_DIRECT(PC);                                                                                           \
            PC = t_;                                                                                                   \
            cost += takenCallExtra;                                                                                    \
        }                                                                                                              \
    } break;
#define RST(op)                                                                                                        \
    case op:                                                                                                           \
        PUSH_DIRECT(PC);                                                                                               \
        PC = uint16_t(op & 0x38);                                                                                      \
        break;

    for (;;) {
        const uint8_t op = FETCH();
        uint32_t cost = mainCycles[op];
        switch (op) {
        // 0x00-0x3F: loads of immediates, 16-bit arithmetic, INC/DEC, rotates of A, jumps
        case 0x00: break;
        case 0x01: {
            uint16_t n;
            FETCH16(n);
            SET_BC(n);
        } break;
        case 0x02: WR(BC, A); break;
        case 0x03: {
            uint16_t v = uint16_t(BC + 1);
            SET_BC(v);
        } break;
        case 0x04: B = inc8(F, B); break;
        case 0x05: B = dec8(F, B); break;
        case 0x06: B = FETCH(); break;
        case 0x07:
            A = uint8_t(A << 1 | A >> 7);
            F = uint8_t((F & (flagS | flagZ | flagPV)) | (A & flagC));
            break;
        case 0x08: {
            uint16_t t = ctx.afAlt;
            ctx.afAlt = uint16_t(A << 8 | F);
            A = uint8_t(t >> 8);
            F = uint8_t(t);
        } break;
        case 0x09: {
            uint16_t v = add16(F, HL, BC);
            SET_HL(v);
        } break;
        case 0x0A: A = RD(BC); break;
        case 0x0B: {
            uint16_t v = uint16_t(BC - 1);
            SET_BC(v);
        } break;
        case 0x0C: C = inc8(F, C); break;
        case 0x0D: C = dec8(F, C); break;
        case 0x0E: C = FETCH(); break;
        case 0x0F:
            F = uint8_t((F & (flagS | flagZ | flagPV)) | (A & flagC));
            A = uint8_t(A >> 1 | A << 7);
            break;

        case 0x10: {
            int8_t e = int8_t(FETCH());
            if (--B) {
                PC = uint16_t(PC + e);
                cost += takenJrExtra;
            }
        } break;
        case 0x11: {
            uint16_t n;
            FETCH16(n);
            SET_DE(n);
        } break;
        case 0x12: WR(DE, A); break;
        case 0x13: {
            uint16_t v = uint16_t(DE + 1);
            SET_DE(v);
        } break;
        case 0x14: D = inc8(F, D); break;
        case 0x15: D = dec8(F, D); break;
        case 0x16: D = FETCH(); break;
        case 0x17: {
            uint8_t c = A >> 7;
            A = uint8_t(A << 1 | (F & flagC));
            F = uint8_t((F & (flagS | flagZ | flagPV)) | c);
        } break;
        case 0x18: {
            int8_t e = int8_t(FETCH());
            PC = uint16_t(PC + e);
        } break;
        case 0x19: {
            uint16_t v = add16(F, HL, DE);
            SET_HL(v);
        } break;
        case 0x1A: A = RD(DE); break;
        case 0x1B: {
            uint16_t v = uint16_t(DE - 1);
            SET_DE(v);
        } break;
        case 0x1C: E = inc8(F, E); break;
        case 0x1D: E = dec8(F, E); break;
        case 0x1E: E = FETCH(); break;
        case 0x1F: {
            uint8_t c = A & 1;
            A = uint8_t(A >> 1 | (F & flagC) << 7);
            F = uint8_t((F & (flagS | flagZ | flagPV)) | c);
        } break;

            JR_IF(0x20, FLAG_NZ)
        case 0x21: {
            uint16_t n;
            FETCH16(n);
            SET_HL(n);
        } break;
        case 0x22: {
            uint16_t n;
            FETCH16(n);
            WR16(n, HL);
        } break;
        case 0x23: {
            uint16_t v = uint16_t(HL + 1);
            SET_HL(v);
        } break;
        case 0x24: H = inc8(F, H); break;
        case 0x25: H = dec8(F, H); break;
        case 0x26: H = FETCH(); break;
        case 0x27:
            daa(A, F);
            break;
            JR_IF(0x28, FLAG_Z)
        case 0x29: {
            uint16_t v = add16(F, HL, HL);
            SET_HL(v);
        } break;
        case 0x2A: {
            uint16_t n, v;
            FETCH16(n);
            RD16(v, n);
            SET_HL(v);
        } break;
        case 0x2B: {
            uint16_t v = uint16_t(HL - 1);
            SET_HL(v);
        } break;
        case 0x2C: L = inc8(F, L); break;
        case 0x2D: L = dec8(F, L); break;
        case 0x2E: L = FETCH(); break;
        case 0x2F:
            A = uint8_t(~A);
            F |= flagH | flagN;
            break;

            JR_IF(0x30, FLAG_NC)
        case 0x31: FETCH16(SP); break;
        case 0x32: {
            uint16_t n;
            FETCH16(n);
            WR(n, A);
        } break;
        case 0x33: SP = uint16_t(SP + 1); break;
        case 0x34: {
            uint16_t at = HL;
            WR(at, inc8(F, RD(at)));
        } break;
        case 0x35: {
            uint16_t at = HL;
            WR(at, dec8(F, RD(at)));
        } break;
        case 0x36: {
            uint8_t n = FETCH();
            WR(HL, n);
        } break;
        case 0x37:
            F = uint8_t((F & (flagS | flagZ | flagPV)) | flagC);
            break;
            JR_IF(0x38, FLAG_C)
        case 0x39: {
            uint16_t v = add16(F, HL, SP);
            SET_HL(v);
        } break;
        case 0x3A: {
            uint16_t n;
            FETCH16(n);
            A = RD(n);
        } break;
        case 0x3B: SP = uint16_t(SP - 1); break;
        case 0x3C: A = inc8(F, A); break;
        case 0x3D: A = dec8(F, A); break;
        case 0x3E: A = FETCH(); break;
        case 0x3F:
            F = uint8_t((F & (flagS | flagZ | flagPV)) | ((F & flagC) ? flagH : flagC));
            break;

            // 0x40-0x7F: register loads, HALT
            LD_ROW(0x40, B)
            LD_ROW(0x48, C)
            LD_ROW(0x50, D)
            LD_ROW(0x58, E)
            LD_ROW(0x60, H)
            LD_ROW(0x68, L)
        case 0x70: WR(HL, B); break;
        case 0x71: WR(HL, C); break;
        case 0x72: WR(HL, D); break;
        case 0x73: WR(HL, E); break;
        case 0x74: WR(HL, H); break;
        case 0x75: WR(HL, L); break;
        case 0x76: goto halt;
        case 0x77:
            WR(HL, A);
            break;
            LD_ROW(0x78, A)

            // 0x80-0xBF: arithmetic and logic on A
            ALU_ROW(0x80, OP_ADD)
            ALU_ROW(0x88, OP_ADC)
            ALU_ROW(0x90, OP_SUB)
            ALU_ROW(0x98, OP_SBC)
            ALU_ROW(0xA0, OP_AND)
            ALU_ROW(0xA8, OP_XOR)
            ALU_ROW(0xB0, OP_OR)
            ALU_ROW(0xB8, OP_CP)

            // 0xC0-0xFF: flow control, stack, immediates, ports, prefixes
            RET_IF(0xC0, FLAG_NZ)
        case 0xC1: {
            uint16_t v;
            POP_LISTED(v);
            SET_BC(v);
        } break;
            JP_IF(0xC2, FLAG_NZ)
        case 0xC3: {
            uint16_t t;
            FETCH16(t);
            PC = t;
        } break;
            CALL_IF(0xC4, FLAG_NZ)
        case 0xC5: PUSH_LISTED(BC); break;
        case 0xC6:
            OP_ADD(FETCH());
            break;
            RST(0xC7)
            RET_IF(0xC8, FLAG_Z)
        case 0xC9:
            POP_DIRECT(PC);
            break;
            JP_IF(0xCA, FLAG_Z)
        case 0xCB: {
            const uint8_t op2 = FETCH();
            cost = cbCycles[op2];
            switch (op2) {
#include "z80_page_cb.inc"
            }
        } break;
            CALL_IF(0xCC, FLAG_Z)
        case 0xCD: {
            uint16_t t;
            FETCH16(t);
            PUSH_DIRECT(PC);
            PC = t;
        } break;
        case 0xCE:
            OP_ADC(FETCH());
            break;
            RST(0xCF)

            RET_IF(0xD0, FLAG_NC)
        case 0xD1: {
            uint16_t v;
            POP_LISTED(v);
            SET_DE(v);
        } break;
            JP_IF(0xD2, FLAG_NC)
        case 0xD3: {
            uint8_t n = FETCH();
            portOut(outputList, n, n, A);
        } break;
            CALL_IF(0xD4, FLAG_NC)
        case 0xD5: PUSH_LISTED(DE); break;
        case 0xD6:
            OP_SUB(FETCH());
            break;
            RST(0xD7)
            RET_IF(0xD8, FLAG_C)
        case 0xD9: {
            uint16_t t = ctx.bcAlt;
            ctx.bcAlt = BC;
            SET_BC(t);
            t = ctx.deAlt;
            ctx.deAlt = DE;
            SET_DE(t);
            t = ctx.hlAlt;
            ctx.hlAlt = HL;
            SET_HL(t);
        } break;
            JP_IF(0xDA, FLAG_C)
        case 0xDB: {
            uint8_t n = FETCH();
            A = portIn(inputList, n, n);
        } break;
            CALL_IF(0xDC, FLAG_C)
        case 0xDD:
        case 0xFD: {
            uint16_t XY = op == 0xDD ? IX : IY;
            const uint8_t op2 = FETCH();
            cost = indexCycles[op2];
            if (op2 != 0xCB && cost == 0)
                goto unimplemented;
            switch (op2) {
#include "z80_page_index.inc"
            default: goto unimplemented;
            }
            if (op == 0xDD)
                IX = XY;
            else
                IY = XY;
        } break;
        case 0xDE:
            OP_SBC(FETCH());
            break;
            RST(0xDF)

            RET_IF(0xE0, FLAG_PO)
        case 0xE1: {
            uint16_t v;
            POP_LISTED(v);
            SET_HL(v);
        } break;
            JP_IF(0xE2, FLAG_PO)
        case 0xE3: {
            uint16_t t = peekWord(mem, SP);
            pokeWord(mem, SP, HL);
            SET_HL(t);
        } break;
            CALL_IF(0xE4, FLAG_PO)
        case 0xE5: PUSH_LISTED(HL); break;
        case 0xE6:
            OP_AND(FETCH());
            break;
            RST(0xE7)
            RET_IF(0xE8, FLAG_PE)
        case 0xE9:
            PC = HL;
            break;
            JP_IF(0xEA, FLAG_PE)
        case 0xEB: {
            uint8_t t = D;
            D = H;
            H = t;
            t = E;
            E = L;
            L = t;
        } break;
            CALL_IF(0xEC, FLAG_PE)
        case 0xED: {
            const uint8_t op2 = FETCH();
            cost = edCycles[op2];
            if (cost == 0)
                goto unimplemented;
            switch (op2) {
#include "z80_page_ed.inc"
            default: goto unimplemented;
            }
        } break;
        case 0xEE:
            OP_XOR(FETCH());
            break;
            RST(0xEF)

            RET_IF(0xF0, FLAG_P)
        case 0xF1: {
            uint16_t v;
            POP_LISTED(v);
            A = uint8_t(v >> 8);
            F = uint8_t(v);
        } break;
            JP_IF(0xF2, FLAG_P)
        case 0xF3:
            ctx.iff = 0;
            ctx.inService = 0;
            break;
            CALL_IF(0xF4, FLAG_P)
        case 0xF5: PUSH_LISTED(A << 8 | F); break;
        case 0xF6:
            OP_OR(FETCH());
            break;
            RST(0xF7)
            RET_IF(0xF8, FLAG_M)
        case 0xF9:
            SP = HL;
            break;
            JP_IF(0xFA, FLAG_M)
        case 0xFB:
            ctx.iff = 1;
            ctx.inService = 0;
            break;
            CALL_IF(0xFC, FLAG_M)
        case 0xFE:
            OP_CP(FETCH());
            break;
            RST(0xFF)
        }

        engine.cyclesThisCall = addCycles(engine.cyclesThisCall, cost);
        if (cost > remaining)
            break;
        remaining -= cost;
    }
    remaining = 0;
    goto store;

halt:
    // The budget counts as used on top of the T-states already spent: the engine-wide
    // remaining count still holds the whole budget here (the loop counts down its local copy
    // and stores it when the call ends). PC stays after the HALT until an interrupt.
    ctx.halted = 1;
    engine.cyclesThisCall = addCycles(engine.cyclesThisCall, engine.remaining);
    remaining = 0;
    goto store;

unimplemented:
    // Back onto the last byte fetched: the next slice runs it as a main-page opcode.
    PC = uint16_t(PC - 1);
    result = PC;

store:
    engine.remaining = remaining;
    ctx.af = uint16_t(A << 8 | F);
    ctx.bc = BC;
    ctx.de = DE;
    ctx.hl = HL;
    ctx.ix = IX;
    ctx.iy = IY;
    ctx.sp = SP;
    ctx.pc = PC;
    return result;

#undef BC
#undef DE
#undef HL
#undef SET_BC
#undef SET_DE
#undef SET_HL
#undef FETCH
#undef FETCH16
#undef RD
#undef WR
#undef RD16
#undef WR16
#undef PUSH_LISTED
#undef POP_LISTED
#undef PUSH_DIRECT
#undef POP_DIRECT
#undef OP_ADD
#undef OP_ADC
#undef OP_SUB
#undef OP_SBC
#undef OP_AND
#undef OP_XOR
#undef OP_OR
#undef OP_CP
#undef FLAG_NZ
#undef FLAG_Z
#undef FLAG_NC
#undef FLAG_C
#undef FLAG_PO
#undef FLAG_PE
#undef FLAG_P
#undef FLAG_M
#undef LD_ROW
#undef ALU_ROW
#undef JR_IF
#undef RET_IF
#undef JP_IF
#undef CALL_IF
#undef RST
}

} // namespace vortastr
