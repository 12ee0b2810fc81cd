#pragma once
// The processors a board schedules: one CpuSlot per processor, run slice by slice through its
// kind's engine adapter (cpu_engine_adapter.h), with the board's interrupt decision applied
// after every slice.
#include "cpu/cpu_engine_adapter.h"
#include "cpu/cpu_kind.h"
#include "cpu/m6502/m6502_context.h"
#include "cpu/m6809/m6809_context.h"
#include "cpu/v30/v30_context.h"
#include "cpu/z80/z80_context.h"

#include <cstdint>

namespace vortastr {

// The board's answer after a slice of slot `slotIndex` of the running game (meaning by kind:
// see applyInterruptAnswer).
using CpuInterruptDecision = int32_t (*)(int32_t gameId, int32_t slotIndex);

struct CpuSlot {
    CpuKind kind = Cpu6809;
    uint8_t* memory = nullptr;      // the slot's CpuMemory block
    uint8_t* secondImage = nullptr; // 6809: the opcode image (memory + 0x10000), else null
    uint16_t interruptKind = 102;   // the board's default interrupt code for this slot
    int32_t cyclesPerSlice = 0;     // budget of each execute (unit per kind)
    int32_t slicesPerFrame = 1;
    int64_t cyclesTotal = 0;     // budgets handed out since the last reset
    uint8_t interruptEnable = 0; // latch: bit 0 written by the board, set by every reset
    CpuInterruptDecision interruptDecision = nullptr;

    // Engine contexts; only the one of `kind` is used, through the kind's adapter.
    M6809Context m6809;
    v30::V30Context v30;
    Z80Context* z80 = nullptr; // the board's record, holding its range lists
    M6502Context m6502{};      // a copy of the engine's context with the set-up's lists
};

constexpr int32_t maxCpuSlots = 2;

// The frame loop's slots; `cpuCount` of them are scheduled, in order.
struct CpuSlotTable {
    CpuSlot slot[maxCpuSlots];
    int32_t cpuCount = 0;
};

// What the board set-up leaves for registering a slot.
struct CpuSlotSetup {
    CpuKind kind = Cpu6809;
    uint8_t* memory = nullptr;
    uint8_t* secondImage = nullptr;
    int32_t cyclesPerSlice = 0;
    int32_t slicesPerFrame = 1;
    uint16_t interruptKind = 102;
    CpuInterruptDecision interruptDecision = nullptr;
    Z80Context* z80 = nullptr; // Z80: the record whose four list pointers the set-up filled
};

// The memory block and second image of the slot that runs (or ran last); board handlers work
// on these and a 6809 write handler returns currentMemory.
extern uint8_t* currentMemory;
extern uint8_t* currentSecondImage;

// Interrupt answers with a fixed meaning.
constexpr int32_t m6809AnswerIrq = 2;
constexpr int32_t m6809AnswerNmi = 4;
constexpr int32_t m6809AnswerFirq = 32;
constexpr int32_t z80AnswerNone = 0xFFFF;
constexpr int32_t z80AnswerNmi = 102;

// Stores the set-up in the next free slot and builds its context from the engine tables the
// set-up filled (6809: the engine's page tables; Z80: the set-up's record with its lists, given
// NMI address 0x66 and interrupt address 0x38 and reset; V30: a record on the memory block;
// 6502: the engine's context gets the memory block). Returns the slot index, or -1 when both
// slots are taken, the set-up has no memory block, or a Z80 set-up has no record.
int32_t registerCpuSlot(CpuSlotTable& slots, const CpuSlotSetup& setup);

// Forgets every slot (when a game is left).
void clearCpuSlots(CpuSlotTable& slots);

// Reset of all processors: per slot, set bit 0 of interruptEnable, zero cyclesTotal and reset
// the engine (a 6809's pending interrupts are cleared first).
void resetAllCpus(CpuSlotTable& slots);

// Makes the slot's memory current, runs one slice of its budget and adds it to cyclesTotal.
void runCpuSlot(CpuSlot& slot);

// Applies the board's answer to the slot's engine:
//   6502: 1 irq, 2 nmi, other nothing;
//   6809: 2, 4, 32 set the IRQ, NMI, FIRQ pending bit; any other answer clears every pending bit;
//   Z80:  0xFFFF nothing, 102 NMI at 0x66, other n irq with n;
//   V30:  0 nothing, other n requestInterrupt(n).
void applyInterruptAnswer(CpuSlot& slot, int32_t answer);

// Steps 2 to 5 of one slice for every scheduled slot in order: run it, then ask its interrupt
// decision (if any) and apply the answer. The frame loop calls this slicesPerFrame times a frame.
void runCpuSlice(CpuSlotTable& slots, int32_t gameId);

} // namespace vortastr
