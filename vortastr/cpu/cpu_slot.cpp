#include "cpu_slot.h"

#include "cpu/m6809/m6809_engine.h"

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
        // Joined with the Z80 engine: point the context's four lists at the engine's, NMI address
        // 0x66, interrupt address 0x38, then reset.
        break;
    case CpuV30:
        // Joined with the V30 engine: the context record with the memory block.
        break;
    case Cpu6502:
        // The 6502 runs on the engine's own context; nothing to build.
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
            // Joined with the 6502 engine: reset().
            break;
        case CpuZ80:
            // Joined with the Z80 engine: loadContext(*slot.z80), reset(), saveContext(*slot.z80).
            break;
        case CpuV30:
            // Joined with the V30 engine: loadContext(slot.v30), reset(slot.memory), saveContext(slot.v30).
            break;
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
        // Joined with the 6502 engine: execute(slot.cyclesPerSlice) on its own context.
        break;
    case CpuZ80:
        // Joined with the Z80 engine: loadContext(*slot.z80), execute, saveContext(*slot.z80).
        break;
    case CpuV30:
        // Joined with the V30 engine: loadContext(slot.v30), execute, saveContext(slot.v30).
        break;
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
        // Joined with the 6502 engine: 1 irq() (refused while I is set), 2 nmi(), other nothing.
        break;
    case CpuZ80:
        // Joined with the Z80 engine: unless 0xFFFF, loadContext(*slot.z80); 102: NMI address
        // 0x66 and nmi(); other n: interrupt address/data n and irq(n); saveContext(*slot.z80).
        break;
    case CpuV30:
        // Joined with the V30 engine: unless 0, loadContext(slot.v30), requestInterrupt(n),
        // saveContext(slot.v30).
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
