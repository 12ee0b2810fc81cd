#pragma once
// One adapter per processor engine: the operations the slot layer and the boards need, in one
// shape for all four engines. The slot layer looks the adapter up by CpuKind once per call and
// never switches over the kind itself.
#include "cpu/cpu_kind.h"

#include <cstdint>
#include <span>
#include <vector>

namespace vortastr {

struct CpuSlot;
struct CpuSlotSetup;

struct CpuEngineAdapter {
    // Gives a freshly registered slot its context from what the board set-up filled (6809:
    // the engine's page tables; Z80: the set-up's record, reset; V30: a new record; 6502: the
    // engine's context with its lists). False when the set-up lacks what the engine needs.
    bool (*attach)(CpuSlot& slot, const CpuSlotSetup& setup);
    // Engine <-> slot: `load` makes the slot's saved context the engine's live state, `save`
    // copies the live state back into the slot (memory pointers of the slot are kept).
    void (*load)(CpuSlot& slot);
    void (*save)(CpuSlot& slot);
    // On the loaded engine: one slice of `budget` (unit per kind), and reset.
    void (*execute)(CpuSlot& slot, int32_t budget);
    void (*reset)(CpuSlot& slot);
    // An interrupt answer of the board (meaning per kind: see applyInterruptAnswer in
    // cpu_slot.h), given to the slot between slices; the adapter loads the engine only when
    // the answer needs it.
    void (*interrupt)(CpuSlot& slot, int32_t answer);
    // The slot's registers and interrupt state as bytes (no pointers: memory, page tables and
    // range lists belong to the board), and back. deserialize is false, changing nothing, when
    // the bytes are not a record of this engine.
    std::vector<uint8_t> (*serialize)(const CpuSlot& slot);
    bool (*deserialize)(CpuSlot& slot, std::span<const uint8_t> bytes);
};

const CpuEngineAdapter& cpuEngineAdapter(CpuKind kind);

} // namespace vortastr
