#include "cpu/cpu_engine_adapter.h"

#include "cpu/cpu_slot.h"
#include "cpu/m6502/m6502_engine.h"
#include "cpu/m6809/m6809_engine.h"
#include "cpu/v30/v30_engine.h"
#include "cpu/z80/z80_engine.h"

#include <cstring>

namespace vortastr {
namespace {

// Records are the fields in order, little-endian, behind a one-byte engine tag.
class RecordWriter {
public:
    explicit RecordWriter(CpuKind kind) { bytes_.push_back(static_cast<uint8_t>(kind)); }
    template <typename T>
    RecordWriter& operator<<(T value)
    {
        for (std::size_t i = 0; i < sizeof(T); ++i)
            bytes_.push_back(static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i)));
        return *this;
    }
    std::vector<uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

class RecordReader {
public:
    RecordReader(std::span<const uint8_t> bytes, CpuKind kind, std::size_t fieldBytes)
        : bytes_(bytes), ok_(bytes.size() == 1 + fieldBytes && bytes[0] == static_cast<uint8_t>(kind)), at_(1)
    {}
    bool ok() const { return ok_; }
    template <typename T>
    RecordReader& operator>>(T& value)
    {
        uint64_t v = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            v |= uint64_t(bytes_[at_ + i]) << (8 * i);
        at_ += sizeof(T);
        value = static_cast<T>(v);
        return *this;
    }

private:
    std::span<const uint8_t> bytes_;
    bool ok_;
    std::size_t at_;
};

// 6809: the context holds the page tables; the slot's copy is the processor between slices.
namespace m6809 {
bool attach(CpuSlot& slot, const CpuSlotSetup&)
{
    m6809Engine().saveContext(slot.m6809);
    slot.m6809.memory = slot.memory;
    return true;
}
void load(CpuSlot& slot) { m6809Engine().loadContext(slot.m6809); }
void save(CpuSlot& slot) { m6809Engine().saveContext(slot.m6809); }
void execute(CpuSlot&, int32_t budget) { m6809Engine().execute(budget); }
void reset(CpuSlot& slot)
{
    M6809Engine& engine = m6809Engine();
    engine.state.pendingInterrupts = 0;
    engine.reset(slot.memory, slot.secondImage ? slot.secondImage : slot.memory);
}
void interrupt(CpuSlot& slot, int32_t answer)
{
    // The pending word lives in the context; between slices the record is the processor, so
    // the answer goes straight into it without a round trip through the engine.
    uint16_t& pending = slot.m6809.pendingInterrupts;
    if (answer == m6809AnswerIrq)
        pending |= m6809IrqBit;
    else if (answer == m6809AnswerNmi)
        pending |= m6809NmiBit;
    else if (answer == m6809AnswerFirq)
        pending |= m6809FirqBit;
    else
        pending = 0;
}
constexpr std::size_t kFieldBytes = 4 + 5 * 2 + 2 + 1;
std::vector<uint8_t> serialize(const CpuSlot& slot)
{
    const M6809Context& c = slot.m6809;
    RecordWriter w(Cpu6809);
    w << c.a << c.b << c.dp << c.cc << c.x << c.y << c.u << c.s << c.pc << c.pendingInterrupts
      << uint8_t(c.waiting ? 1 : 0);
    return w.take();
}
bool deserialize(CpuSlot& slot, std::span<const uint8_t> bytes)
{
    RecordReader r(bytes, Cpu6809, kFieldBytes);
    if (!r.ok())
        return false;
    M6809Context& c = slot.m6809;
    uint8_t waiting = 0;
    r >> c.a >> c.b >> c.dp >> c.cc >> c.x >> c.y >> c.u >> c.s >> c.pc >> c.pendingInterrupts >> waiting;
    c.waiting = waiting != 0;
    return true;
}
} // namespace m6809

// Z80: the slot points at the board's record, which holds the range lists.
namespace z80 {
bool attach(CpuSlot& slot, const CpuSlotSetup& setup)
{
    if (!setup.z80)
        return false;
    slot.z80 = setup.z80;
    slot.z80->memory = slot.memory;
    slot.z80->nmiAddress = 0x66;
    slot.z80->irqAddress = 0x38;
    Z80Engine::loadContext(*slot.z80);
    Z80Engine::reset();
    Z80Engine::saveContext(*slot.z80);
    return true;
}
void load(CpuSlot& slot) { Z80Engine::loadContext(*slot.z80); }
void save(CpuSlot& slot) { Z80Engine::saveContext(*slot.z80); }
void execute(CpuSlot&, int32_t budget) { Z80Engine::execute(static_cast<uint32_t>(budget)); }
void reset(CpuSlot&) { Z80Engine::reset(); }
void interrupt(CpuSlot& slot, int32_t answer)
{
    if (answer == z80AnswerNone)
        return;
    Z80Engine::loadContext(*slot.z80);
    if (answer == z80AnswerNmi) {
        Z80Engine::current().nmiAddress = 0x66;
        Z80Engine::nmi();
    } else {
        Z80Engine::current().irqAddress = static_cast<uint16_t>(answer);
        Z80Engine::irq(static_cast<uint8_t>(answer));
    }
    Z80Engine::saveContext(*slot.z80);
}
constexpr std::size_t kFieldBytes = 5 * 4 + 14 * 2 + 2;
std::vector<uint8_t> serialize(const CpuSlot& slot)
{
    const Z80Context& c = *slot.z80;
    RecordWriter w(CpuZ80);
    w << c.reserved << c.inService << c.interruptMode << c.iff << c.halted << c.af << c.bc << c.de << c.hl << c.afAlt
      << c.bcAlt << c.deAlt << c.hlAlt << c.ix << c.iy << c.sp << c.pc << c.nmiAddress << c.irqAddress << c.i << c.r;
    return w.take();
}
bool deserialize(CpuSlot& slot, std::span<const uint8_t> bytes)
{
    RecordReader r(bytes, CpuZ80, kFieldBytes);
    if (!r.ok() || !slot.z80)
        return false;
    Z80Context& c = *slot.z80;
    r >> c.reserved >> c.inService >> c.interruptMode >> c.iff >> c.halted >> c.af >> c.bc >> c.de >> c.hl >> c.afAlt >>
        c.bcAlt >> c.deAlt >> c.hlAlt >> c.ix >> c.iy >> c.sp >> c.pc >> c.nmiAddress >> c.irqAddress >> c.i >> c.r;
    return true;
}
} // namespace z80

// V30: the engine's own packed record.
namespace v30e {
bool attach(CpuSlot& slot, const CpuSlotSetup&)
{
    slot.v30 = v30::V30Context{};
    slot.v30.memory = slot.memory;
    return true;
}
void load(CpuSlot& slot) { v30::v30Engine().loadContext(slot.v30); }
void save(CpuSlot& slot) { v30::v30Engine().saveContext(slot.v30); }
void execute(CpuSlot&, int32_t budget) { v30::v30Engine().execute(budget); }
void reset(CpuSlot& slot) { v30::v30Engine().reset(slot.memory); }
void interrupt(CpuSlot& slot, int32_t answer)
{
    if (answer == 0)
        return;
    v30::V30Engine& engine = v30::v30Engine();
    engine.loadContext(slot.v30);
    engine.requestInterrupt(static_cast<uint32_t>(answer));
    engine.saveContext(slot.v30);
}
std::vector<uint8_t> serialize(const CpuSlot& slot)
{
    const v30::V30ContextRecord record = v30::serialize(slot.v30);
    std::vector<uint8_t> bytes(1 + record.size());
    bytes[0] = static_cast<uint8_t>(CpuV30);
    std::memcpy(bytes.data() + 1, record.data(), record.size());
    return bytes;
}
bool deserialize(CpuSlot& slot, std::span<const uint8_t> bytes)
{
    if (bytes.size() != 1 + v30::v30ContextRecordSize || bytes[0] != static_cast<uint8_t>(CpuV30))
        return false;
    v30::deserialize(bytes.data() + 1, slot.v30);
    return true;
}
} // namespace v30e

// 6502: the slot keeps a copy of the engine's context, lists included.
namespace m6502 {
bool attach(CpuSlot& slot, const CpuSlotSetup&)
{
    // The set-up filled the engine's own lists.
    M6502Engine::context.memory = slot.memory;
    M6502Engine::saveContext(slot.m6502);
    return true;
}
void load(CpuSlot& slot) { M6502Engine::loadContext(slot.m6502); }
void save(CpuSlot& slot) { M6502Engine::saveContext(slot.m6502); }
void execute(CpuSlot&, int32_t budget) { M6502Engine::execute(budget); }
void reset(CpuSlot&) { M6502Engine::reset(); }
void interrupt(CpuSlot& slot, int32_t answer)
{
    if (answer != 1 && answer != 2)
        return;
    M6502Engine::loadContext(slot.m6502);
    // An IRQ refused while the I flag is set is dropped, not held.
    if (answer == 1)
        M6502Engine::irq();
    else
        M6502Engine::nmi();
    M6502Engine::saveContext(slot.m6502);
}
constexpr std::size_t kFieldBytes = 4 + 2 + 2 + 5 + 7; // cycles, a and p, pc, x to nmiInProgress, reserved
std::vector<uint8_t> serialize(const CpuSlot& slot)
{
    const M6502Context& c = slot.m6502;
    RecordWriter w(Cpu6502);
    w << c.cycleTotal << c.a << c.p << c.pc << c.x << c.y << c.s << c.lastOpcode << c.nmiInProgress;
    for (uint8_t byte : c.reserved)
        w << byte;
    return w.take();
}
bool deserialize(CpuSlot& slot, std::span<const uint8_t> bytes)
{
    RecordReader r(bytes, Cpu6502, kFieldBytes);
    if (!r.ok())
        return false;
    M6502Context& c = slot.m6502;
    r >> c.cycleTotal >> c.a >> c.p >> c.pc >> c.x >> c.y >> c.s >> c.lastOpcode >> c.nmiInProgress;
    for (uint8_t& byte : c.reserved)
        r >> byte;
    return true;
}
} // namespace m6502

constexpr CpuEngineAdapter kM6809{m6809::attach, m6809::load,      m6809::save,      m6809::execute,
                                  m6809::reset,  m6809::interrupt, m6809::serialize, m6809::deserialize};
constexpr CpuEngineAdapter kZ80{z80::attach, z80::load,      z80::save,      z80::execute,
                                z80::reset,  z80::interrupt, z80::serialize, z80::deserialize};
constexpr CpuEngineAdapter kV30{v30e::attach, v30e::load,      v30e::save,      v30e::execute,
                                v30e::reset,  v30e::interrupt, v30e::serialize, v30e::deserialize};
constexpr CpuEngineAdapter kM6502{m6502::attach, m6502::load,      m6502::save,      m6502::execute,
                                  m6502::reset,  m6502::interrupt, m6502::serialize, m6502::deserialize};

} // namespace

const CpuEngineAdapter& cpuEngineAdapter(CpuKind kind)
{
    switch (kind) {
    case Cpu6809: return kM6809;
    case CpuZ80: return kZ80;
    case CpuV30: return kV30;
    case Cpu6502: break;
    }
    return kM6502;
}

} // namespace vortastr
