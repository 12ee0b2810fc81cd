#include "m6809_engine.h"

#include "m6809_alu.h"
#include "m6809_decode.h"
#include "m6809_interrupts.h"
#include "m6809_memory.h"

#include <algorithm>
#include <climits>

namespace vortastr {

using namespace m6809;

M6809Engine& m6809Engine()
{
    static M6809Engine engine;
    return engine;
}

namespace {

uint16_t vectorAt(const uint8_t* memory, uint16_t address)
{
    return uint16_t(memory[address] << 8 | memory[address + 1]);
}

void resetRegisters(M6809Context& st, const uint8_t* memory)
{
    st.a = st.b = st.dp = 0;
    st.x = st.y = st.u = st.s = 0;
    st.cc = 0x50;
    st.pc = memory ? vectorAt(memory, resetVector) : 0;
}

} // namespace

void M6809Engine::reset(uint8_t* memory, uint8_t* second)
{
    memoryBase = memory;
    secondImage = second;
    counter = 0;
    state.waiting = false;
    resetRegisters(state, memory);
}

void M6809Engine::loadContext(const M6809Context& context)
{
    state = context;
    memoryBase = context.memory;
}

void M6809Engine::saveContext(M6809Context& context) const
{
    uint8_t* keep = context.memory;
    context = state;
    context.memory = keep;
}

int32_t M6809Engine::execute(int32_t budget)
{
    // A processor stuck on an invalid opcode or waiting in CWAI gathers budget slice after
    // slice; saturate rather than overflow.
    counter = int32_t(std::clamp<int64_t>(int64_t(counter) + budget, INT32_MIN, INT32_MAX));
    uint8_t* mem = memoryBase;
    if (!mem)
        return counter;

    const M6809Context& t = state;
    int32_t cnt = counter;
    uint8_t a = state.a, b = state.b, dp = state.dp;
    uint16_t x = state.x, y = state.y, u = state.u, s = state.s, pc = state.pc;
    Flags fl = unpackCc(state.cc);
    bool waiting = state.waiting;

    // Operand bytes come from the data image at PC, opcode bytes from the opcode image.
    auto fetch8 = [&]() -> uint8_t { return mem[pc++]; };
    auto fetch16 = [&]() -> uint16_t {
        uint16_t v = uint16_t(mem[pc] << 8 | mem[uint16_t(pc + 1)]);
        pc += 2;
        return v;
    };
    auto fetchOpcode = [&]() -> uint8_t { return mem[m6809OpcodeImage + pc++]; };
    auto getD = [&]() -> uint16_t { return uint16_t(a << 8 | b); };
    auto setD = [&](uint16_t v) {
        a = uint8_t(v >> 8);
        b = uint8_t(v);
    };
    auto rd8 = [&](uint16_t ad) { return readByte(t, ad); };
    auto rd16 = [&](uint16_t ad) { return readWord(t, ad); };
    auto wr8 = [&](uint16_t ad, uint8_t v) { writeByte(t, mem, ad, v); };
    auto wr16 = [&](uint16_t ad, uint16_t v) { writeWord(t, mem, ad, v); };
    auto push8 = [&](uint16_t& sp, uint8_t v) { wr8(--sp, v); };
    auto push16 = [&](uint16_t& sp, uint16_t v) {
        sp -= 2;
        wr16(sp, v);
    };
    auto pull8 = [&](uint16_t& sp) -> uint8_t { return rd8(sp++); };
    auto pull16 = [&](uint16_t& sp) -> uint16_t {
        uint16_t v = rd16(sp);
        sp += 2;
        return v;
    };
    // NMI, IRQ, SWI and CWAI push everything, in the published order.
    auto pushEntireState = [&] {
        push16(s, pc);
        push16(s, u);
        push16(s, y);
        push16(s, x);
        push8(s, dp);
        push8(s, b);
        push8(s, a);
        push8(s, packCc(fl));
    };
    // Registers by TFR/EXG code: 0 D, 1 X, 2 Y, 3 U, 4 S, 5 PC, 8 A, 9 B, 10 CC, 11 DP.
    auto getRegister = [&](unsigned code) -> uint16_t {
        switch (code) {
        case 0: return getD();
        case 1: return x;
        case 2: return y;
        case 3: return u;
        case 4: return s;
        case 5: return pc;
        case 8: return a;
        case 9: return b;
        case 10: return packCc(fl);
        default: return dp;
        }
    };
    auto setRegister = [&](unsigned code, uint16_t v) {
        switch (code) {
        case 0: setD(v); break;
        case 1: x = v; break;
        case 2: y = v; break;
        case 3: u = v; break;
        case 4: s = v; break;
        case 5: pc = v; break;
        case 8: a = uint8_t(v); break;
        case 9: b = uint8_t(v); break;
        case 10: fl = unpackCc(uint8_t(v)); break;
        default: dp = uint8_t(v); break;
        }
    };
    // Effective address of an indexed post-byte; false for a post-byte the engine refuses.
    auto indexedAddress = [&](uint16_t& ea) -> bool {
        const uint8_t pb = mem[pc++];
        const unsigned r = (pb >> 5) & 3;
        uint16_t reg = r == 0 ? x : r == 1 ? y : r == 2 ? u : s;
        if (!(pb & 0x80)) {
            ea = uint16_t(reg + ((pb & 0x1F) ^ 0x10) - 0x10);
            return true;
        }
        if (!indexedPostByteValid(pb))
            return false;
        bool update = false;
        switch (pb & 0x0F) {
        case 0x0:
            ea = reg++;
            update = true;
            break;
        case 0x1:
            ea = reg;
            reg += 2;
            update = true;
            break;
        case 0x2:
            ea = --reg;
            update = true;
            break;
        case 0x3:
            reg -= 2;
            ea = reg;
            update = true;
            break;
        case 0x4: ea = reg; break;
        case 0x5: ea = uint16_t(reg + int8_t(b)); break;
        case 0x6: ea = uint16_t(reg + int8_t(a)); break;
        case 0x8: ea = uint16_t(reg + int8_t(fetch8())); break;
        case 0x9: ea = uint16_t(reg + fetch16()); break;
        case 0xB: ea = uint16_t(reg + getD()); break;
        case 0xC: {
            const int8_t off = int8_t(fetch8());
            ea = uint16_t(pc + off);
            break;
        }
        case 0xD: {
            const uint16_t off = fetch16();
            ea = uint16_t(pc + off);
            break;
        }
        default: ea = fetch16(); break; // [n16]
        }
        if (update) {
            switch (r) {
            case 0: x = reg; break;
            case 1: y = reg; break;
            case 2: u = reg; break;
            default: s = reg; break;
            }
        }
        if (pb & 0x10)
            ea = rd16(ea);
        return true;
    };
    // The CWAI wait: an eligible interrupt (NMI always) loads its vector without pushing, since
    // CWAI already pushed the entire state.
    auto wakeFromWait = [&]() -> bool {
        const uint16_t pending = t.pendingInterrupts & m6809InterruptBits;
        state.pendingInterrupts = pending;
        switch (eligibleInterrupt(pending, fl, true)) {
        case Interrupt::Nmi:
            fl.i = fl.f = 1;
            pc = vectorAt(mem, nmiVector);
            break;
        case Interrupt::Firq:
            fl.i = fl.f = 1;
            pc = vectorAt(mem, firqVector);
            break;
        case Interrupt::Irq:
            fl.i = 1;
            pc = vectorAt(mem, irqVector);
            break;
        case Interrupt::None: return false;
        }
        waiting = false;
        return true;
    };

    if (waiting && !wakeFromWait())
        goto stop;

    for (;;) {
        // Interrupts are looked at before every instruction, so an acknowledge by a handler
        // takes effect at once.
        if (t.pendingInterrupts) {
            const uint16_t pending = t.pendingInterrupts & m6809InterruptBits;
            state.pendingInterrupts = pending;
            const Interrupt taken = eligibleInterrupt(pending, fl, s != 0);
            if (taken != Interrupt::None) {
                if (taken == Interrupt::Firq) {
                    fl.e = 0;
                    push16(s, pc);
                    push8(s, packCc(fl));
                    fl.i = fl.f = 1;
                    pc = vectorAt(mem, firqVector);
                    cnt -= firqEntryCycles;
                } else {
                    fl.e = 1;
                    pushEntireState();
                    fl.i = 1;
                    if (taken == Interrupt::Nmi) {
                        fl.f = 1;
                        pc = vectorAt(mem, nmiVector);
                        cnt -= nmiEntryCycles;
                    } else {
                        pc = vectorAt(mem, irqVector);
                        cnt -= irqEntryCycles;
                    }
                }
                if (cnt < 0)
                    break;
                continue;
            }
        }

        uint8_t opcode = fetchOpcode();
        const Decode* d = &page1[opcode];
        if (d->op == Op::Page2) {
            opcode = fetchOpcode();
            d = &page2[opcode];
        } else if (d->op == Op::Page3) {
            opcode = fetchOpcode();
            d = &page3[opcode];
        }

        uint16_t ea = 0;
        switch (d->mode) {
        case Mode::Inh:
        case Mode::AccA:
        case Mode::AccB: break;
        case Mode::Imm8:
            ea = pc;
            pc += 1;
            break;
        case Mode::Imm16:
            ea = pc;
            pc += 2;
            break;
        case Mode::Dir: ea = uint16_t(dp << 8 | fetch8()); break;
        case Mode::Ext: ea = fetch16(); break;
        case Mode::Idx:
            if (!indexedAddress(ea)) {
                pc -= 2; // back onto the opcode byte that took the post-byte
                goto stop;
            }
            break;
        case Mode::Rel8: {
            const int8_t off = int8_t(fetch8());
            ea = uint16_t(pc + off);
            break;
        }
        case Mode::Rel16: {
            const uint16_t off = fetch16();
            ea = uint16_t(pc + off);
            break;
        }
        }
        cnt -= d->cycles;

        // Immediate operands are read from the data image; everything else through the pages.
        auto operand8 = [&]() -> uint8_t { return d->mode == Mode::Imm8 ? mem[ea] : rd8(ea); };
        auto operand16 = [&]() -> uint16_t {
            return d->mode == Mode::Imm16 ? uint16_t(mem[ea] << 8 | mem[uint16_t(ea + 1)]) : rd16(ea);
        };
        auto rmwLoad = [&]() -> uint8_t { return d->mode == Mode::AccA ? a : d->mode == Mode::AccB ? b : rd8(ea); };
        auto rmwStore = [&](uint8_t v) {
            if (d->mode == Mode::AccA)
                a = v;
            else if (d->mode == Mode::AccB)
                b = v;
            else
                wr8(ea, v);
        };

        switch (d->op) {
        case Op::Invalid:
        case Op::Page2:
        case Op::Page3: // a prefix after a prefix is undefined on pages 2 and 3
            pc -= 1;
            goto stop;

        case Op::Neg: rmwStore(neg8(fl, rmwLoad())); break;
        case Op::Com: rmwStore(com8(fl, rmwLoad())); break;
        case Op::Lsr: rmwStore(lsr8(fl, rmwLoad())); break;
        case Op::Ror: rmwStore(ror8(fl, rmwLoad())); break;
        case Op::Asr: rmwStore(asr8(fl, rmwLoad())); break;
        case Op::Asl: rmwStore(asl8(fl, rmwLoad())); break;
        case Op::Rol: rmwStore(rol8(fl, rmwLoad())); break;
        case Op::Dec: rmwStore(dec8(fl, rmwLoad())); break;
        case Op::Inc: rmwStore(inc8(fl, rmwLoad())); break;
        case Op::Tst: logic8(fl, rmwLoad()); break;
        case Op::Clr: rmwStore(clr8(fl)); break;
        case Op::Jmp: pc = ea; break;

        case Op::Nop: break;
        case Op::Sync:
            // Waits in passes of 3 cycles for any pending bit, masked or not; the slice ends
            // first when none comes, with PC already past SYNC. At least one pass is charged,
            // so a run of SYNCs with a bit pending cannot spin without using the budget.
            cnt -= 3;
            if (!(t.pendingInterrupts & m6809InterruptBits) && cnt >= 0)
                cnt -= 3 * (cnt / 3 + 1);
            break;
        case Op::Lbra: pc = ea; break;
        case Op::Lbsr:
        case Op::Bsr:
        case Op::Jsr:
            push16(s, pc);
            pc = ea;
            break;
        case Op::Daa: a = daa8(fl, a); break;
        case Op::Orcc: fl = unpackCc(uint8_t(packCc(fl) | mem[ea])); break;
        case Op::Andcc: fl = unpackCc(uint8_t(packCc(fl) & mem[ea])); break;
        case Op::Sex:
            a = (b & 0x80) ? 0xFF : 0x00;
            setNz16(fl, getD());
            break;
        case Op::Exg: {
            const uint8_t pb = mem[ea];
            if (transferPostByteValid(pb)) {
                const uint16_t first = getRegister(pb >> 4), second = getRegister(pb & 0x0F);
                setRegister(pb >> 4, second);
                setRegister(pb & 0x0F, first);
            }
            break;
        }
        case Op::Tfr: {
            const uint8_t pb = mem[ea];
            if (transferPostByteValid(pb))
                setRegister(pb & 0x0F, getRegister(pb >> 4));
            break;
        }
        case Op::Bcc:
            if (branchTaken(fl, opcode & 0x0F))
                pc = ea;
            break;
        case Op::LBcc:
            if (branchTaken(fl, opcode & 0x0F))
                pc = ea;
            else
                cnt -= 1;
            break;

        case Op::Leax:
            x = ea;
            fl.z = x == 0;
            break;
        case Op::Leay:
            y = ea;
            fl.z = y == 0;
            break;
        case Op::Leas: s = ea; break;
        case Op::Leau: u = ea; break;
        case Op::Pshs:
        case Op::Pshu: {
            const uint8_t list = mem[ea];
            const bool system = d->op == Op::Pshs;
            uint16_t sp = system ? s : u;
            if (list & 0x80)
                push16(sp, pc);
            if (list & 0x40)
                push16(sp, system ? u : s);
            if (list & 0x20)
                push16(sp, y);
            if (list & 0x10)
                push16(sp, x);
            if (list & 0x08)
                push8(sp, dp);
            if (list & 0x04)
                push8(sp, b);
            if (list & 0x02)
                push8(sp, a);
            if (list & 0x01)
                push8(sp, packCc(fl));
            (system ? s : u) = sp;
            break;
        }
        case Op::Puls:
        case Op::Pulu: {
            const uint8_t list = mem[ea];
            const bool system = d->op == Op::Puls;
            uint16_t sp = system ? s : u;
            if (list & 0x01)
                fl = unpackCc(pull8(sp));
            if (list & 0x02)
                a = pull8(sp);
            if (list & 0x04)
                b = pull8(sp);
            if (list & 0x08)
                dp = pull8(sp);
            if (list & 0x10)
                x = pull16(sp);
            if (list & 0x20)
                y = pull16(sp);
            if (list & 0x40)
                (system ? u : s) = pull16(sp);
            if (list & 0x80)
                pc = pull16(sp);
            (system ? s : u) = sp;
            break;
        }
        case Op::Rts: pc = pull16(s); break;
        case Op::Abx: x = uint16_t(x + b); break;
        case Op::Rti:
            fl = unpackCc(pull8(s));
            if (fl.e) {
                a = pull8(s);
                b = pull8(s);
                dp = pull8(s);
                x = pull16(s);
                y = pull16(s);
                u = pull16(s);
                cnt -= rtiEntireStateCycles;
            }
            pc = pull16(s);
            break;
        case Op::Cwai:
            fl = unpackCc(uint8_t(packCc(fl) & mem[ea]));
            fl.e = 1;
            pushEntireState();
            waiting = true;
            if (!wakeFromWait())
                goto stop;
            break;
        case Op::Mul: {
            const uint16_t r = uint16_t(a * b);
            setD(r);
            fl.z = r == 0;
            fl.c = (r >> 7) & 1;
            break;
        }
        case Op::Reset:
            // Undefined 0x3E: registers as at reset, no cycles charged. The slice ends here
            // with its budget kept, so a reset vector pointing at 0x3E cannot spin forever.
            a = b = dp = 0;
            x = y = u = s = 0;
            fl = unpackCc(0x50);
            pc = vectorAt(mem, resetVector);
            goto stop;
        case Op::Swi:
        case Op::Swi2:
        case Op::Swi3:
            fl.e = 1;
            pushEntireState();
            if (d->op == Op::Swi) {
                fl.i = fl.f = 1;
                pc = vectorAt(mem, swiVector);
            } else {
                pc = vectorAt(mem, d->op == Op::Swi2 ? swi2Vector : swi3Vector);
            }
            break;

        case Op::Suba: a = sub8(fl, a, operand8(), 0); break;
        case Op::Cmpa: sub8(fl, a, operand8(), 0); break;
        case Op::Sbca: a = sub8(fl, a, operand8(), fl.c); break;
        case Op::Anda: a = logic8(fl, a & operand8()); break;
        case Op::Bita: logic8(fl, a & operand8()); break;
        case Op::Lda: a = logic8(fl, operand8()); break;
        case Op::Sta: wr8(ea, logic8(fl, a)); break;
        case Op::Eora: a = logic8(fl, a ^ operand8()); break;
        case Op::Adca: a = add8(fl, a, operand8(), fl.c); break;
        case Op::Ora: a = logic8(fl, a | operand8()); break;
        case Op::Adda: a = add8(fl, a, operand8(), 0); break;
        case Op::Subb: b = sub8(fl, b, operand8(), 0); break;
        case Op::Cmpb: sub8(fl, b, operand8(), 0); break;
        case Op::Sbcb: b = sub8(fl, b, operand8(), fl.c); break;
        case Op::Andb: b = logic8(fl, b & operand8()); break;
        case Op::Bitb: logic8(fl, b & operand8()); break;
        case Op::Ldb: b = logic8(fl, operand8()); break;
        case Op::Stb: wr8(ea, logic8(fl, b)); break;
        case Op::Eorb: b = logic8(fl, b ^ operand8()); break;
        case Op::Adcb: b = add8(fl, b, operand8(), fl.c); break;
        case Op::Orb: b = logic8(fl, b | operand8()); break;
        case Op::Addb: b = add8(fl, b, operand8(), 0); break;

        case Op::Subd: setD(sub16(fl, getD(), operand16())); break;
        case Op::Addd: setD(add16(fl, getD(), operand16())); break;
        case Op::Cmpd: sub16(fl, getD(), operand16()); break;
        case Op::Cmpx: sub16(fl, x, operand16()); break;
        case Op::Cmpy: sub16(fl, y, operand16()); break;
        case Op::Cmpu: sub16(fl, u, operand16()); break;
        case Op::Cmps: sub16(fl, s, operand16()); break;
        case Op::Ldd: setD(logic16(fl, operand16())); break;
        case Op::Ldx: x = logic16(fl, operand16()); break;
        case Op::Ldy: y = logic16(fl, operand16()); break;
        case Op::Ldu: u = logic16(fl, operand16()); break;
        case Op::Lds: s = logic16(fl, operand16()); break;
        case Op::Std: wr16(ea, logic16(fl, getD())); break;
        case Op::Stx: wr16(ea, logic16(fl, x)); break;
        case Op::Sty: wr16(ea, logic16(fl, y)); break;
        case Op::Stu: wr16(ea, logic16(fl, u)); break;
        case Op::Sts: wr16(ea, logic16(fl, s)); break;
        }

        if (cnt < 0)
            break;
    }

stop:
    state.a = a;
    state.b = b;
    state.dp = dp;
    state.cc = packCc(fl);
    state.x = x;
    state.y = y;
    state.u = u;
    state.s = s;
    state.pc = pc;
    state.waiting = waiting;
    memoryBase = mem;
    counter = cnt;
    return cnt;
}

} // namespace vortastr
