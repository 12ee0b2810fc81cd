#include "cpu_slot.h"

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
    if (!cpuEngineAdapter(slot.kind).attach(slot, setup))
        return -1;
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
        const CpuEngineAdapter& engine = cpuEngineAdapter(slot.kind);
        engine.load(slot);
        engine.reset(slot);
        engine.save(slot);
    }
}

void runCpuSlot(CpuSlot& slot)
{
    makeCurrent(slot);
    const CpuEngineAdapter& engine = cpuEngineAdapter(slot.kind);
    engine.load(slot);
    engine.execute(slot, slot.cyclesPerSlice);
    engine.save(slot);
    slot.cyclesTotal += slot.cyclesPerSlice;
}

void applyInterruptAnswer(CpuSlot& slot, int32_t answer) { cpuEngineAdapter(slot.kind).interrupt(slot, answer); }

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
