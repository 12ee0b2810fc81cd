#include "cpu_slot.h"

#include "cpu/m6502/m6502_engine.h"
#include "cpu/m6809/m6809_engine.h"
#include "cpu/v30/v30_engine.h"
#include "cpu/z80/z80_engine.h"

namespace vortastr {

uint8_t* currentMemory = nullptr;
uint8_t* currentSecondImage = nullptr;

namespace {

void makeCurrent(const CpuSlot& slot)
{
    currentMemory = slot.memory;
    currentSecondImage = slot.secondImage;
}

} // namespace

int32_t registerCpuSlot(CpuSlotTable& slots, const CpuSlotSetup& setup)
{
    if (slots.cpuCount < 0 || slots.cpuCount >= maxCpuSlots || !setup.memory)
        return -1;
    if (setup.kind == CpuZ80 && !setup.z80)
        return -1;
    const int32_t index = slots.cpuCount;
    CpuSlot& slot = slots.slot[index];
    slot = CpuSlot{};
    slot.kind = setup.kind;
    slot.memory = setup.memory;
    slot.secondImage = setup.secondImage;
    slot.cyclesPerSlice = setup.cyclesPerSlice;
    slot.slicesPerFrame = setup.slicesPerFrame;
    slot.interruptKind = setup.interruptKind;
    slot.interruptDecision = setup.interruptDecision;
    switch (slot.kind) {
    case Cpu6809:
        m6809Engine().saveContext(slot.m6809);
        slot.m6809.memory = slot.memory;
        break;
    case CpuZ80:
        slot.z80 = setup.z80;
        slot.z80->memory = slot.memory;
        slot.z80->nmiAddress = 0x66;
        slot.z80->irqAddress = 0x38;
        Z80Engine::loadContext(*slot.z80);
        Z80Engine::reset();
        Z80Engine::saveContext(*slot.z80);
        break;
    case CpuV30:
        slot.v30 = v30::V30Context{};
        slot.v30.memory = slot.memory;
        break;
    case Cpu6502:
        // The 6502 runs on the engine's own context, whose lists the set-up filled.
        M6502Engine::context.memory = slot.memory;
        break;
    }
    slots.cpuCount = index + 1;
    return index;
}

void clearCpuSlots(CpuSlotTable& slots)
{
    slots.cpuCount = 0;
    currentMemory = nullptr;
    currentSecondImage = nullptr;
}

void resetAllCpus(CpuSlotTable& slots)
{
    for (int32_t i = 0; i < slots.cpuCount && i < maxCpuSlots; ++i) {
        CpuSlot& slot = slots.slot[i];
        slot.interruptEnable |= 1;
        slot.cyclesTotal = 0;
        switch (slot.kind) {
        case Cpu6809: {
            M6809Engine& engine = m6809Engine();
            engine.loadContext(slot.m6809);
            engine.state.pendingInterrupts = 0;
            engine.reset(slot.memory, slot.secondImage ? slot.secondImage : slot.memory);
            engine.saveContext(slot.m6809);
            break;
        }
        case Cpu6502:
            M6502Engine::reset();
            break;
        case CpuZ80:
            Z80Engine::loadContext(*slot.z80);
            Z80Engine::reset();
            Z80Engine::saveContext(*slot.z80);
            break;
        case CpuV30: {
            v30::V30Engine& engine = v30::v30Engine();
            engine.loadContext(slot.v30);
            engine.reset(slot.memory);
            engine.saveContext(slot.v30);
            break;
        }
        }
    }
}

void runCpuSlot(CpuSlot& slot)
{
    makeCurrent(slot);
    switch (slot.kind) {
    case Cpu6809: {
        M6809Engine& engine = m6809Engine();
        engine.loadContext(slot.m6809);
        engine.execute(slot.cyclesPerSlice);
        engine.saveContext(slot.m6809);
        break;
    }
    case Cpu6502:
        M6502Engine::execute(slot.cyclesPerSlice);
        break;
    case CpuZ80:
        Z80Engine::loadContext(*slot.z80);
        Z80Engine::execute(static_cast<uint32_t>(slot.cyclesPerSlice));
        Z80Engine::saveContext(*slot.z80);
        break;
    case CpuV30: {
        v30::V30Engine& engine = v30::v30Engine();
        engine.loadContext(slot.v30);
        engine.execute(slot.cyclesPerSlice);
        engine.saveContext(slot.v30);
        break;
    }
    }
    slot.cyclesTotal += slot.cyclesPerSlice;
}

void applyInterruptAnswer(CpuSlot& slot, int32_t answer)
{
    switch (slot.kind) {
    case Cpu6809: {
        // The pending word lives in the context; between slices the record is the processor.
        uint16_t& pending = slot.m6809.pendingInterrupts;
        if (answer == m6809AnswerIrq)
            pending |= m6809IrqBit;
        else if (answer == m6809AnswerNmi)
            pending |= m6809NmiBit;
        else if (answer == m6809AnswerFirq)
            pending |= m6809FirqBit;
        else
            pending = 0;
        break;
    }
    case Cpu6502:
        // An IRQ refused while the I flag is set is dropped, not held.
        if (answer == 1)
            M6502Engine::irq();
        else if (answer == 2)
            M6502Engine::nmi();
        break;
    case CpuZ80:
        if (answer == z80AnswerNone)
            break;
        Z80Engine::loadContext(*slot.z80);
        if (answer == z80AnswerNmi) {
            Z80Engine::current().nmiAddress = 0x66;
            Z80Engine::nmi();
        } else {
            Z80Engine::current().irqAddress = static_cast<uint16_t>(answer);
            Z80Engine::irq(static_cast<uint8_t>(answer));
        }
        Z80Engine::saveContext(*slot.z80);
        break;
    case CpuV30:
        if (answer != 0) {
            v30::V30Engine& engine = v30::v30Engine();
            engine.loadContext(slot.v30);
            engine.requestInterrupt(static_cast<uint32_t>(answer));
            engine.saveContext(slot.v30);
        }
        break;
    }
}

void runCpuSlice(CpuSlotTable& slots, int32_t gameId)
{
    for (int32_t i = 0; i < slots.cpuCount && i < maxCpuSlots; ++i) {
        CpuSlot& slot = slots.slot[i];
        runCpuSlot(slot);
        if (slot.interruptDecision)
            applyInterruptAnswer(slot, slot.interruptDecision(gameId, i));
    }
}

} // namespace vortastr
