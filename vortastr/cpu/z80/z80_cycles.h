#pragma once
// T-state costs per opcode page, one 16x16 grid each (row = high nibble). A 0 on the ED,
// DD/FD and indexed bit pages marks an opcode this engine does not implement. Conditional
// jumps, calls and returns list their not-taken cost; the extra for a taken branch is below.
#include <cstdint>

namespace vortastr::z80 {

extern const uint8_t mainCycles[256];
extern const uint8_t cbCycles[256];
extern const uint8_t edCycles[256];
extern const uint8_t indexCycles[256];    // after 0xDD or 0xFD
extern const uint8_t indexBitCycles[256]; // 0xDD 0xCB d op and 0xFD 0xCB d op, by op

constexpr uint32_t takenJrExtra = 5;   // JR cc and DJNZ: 12/13 instead of 7/8
constexpr uint32_t takenRetExtra = 6;  // RET cc: 11 instead of 5
constexpr uint32_t takenCallExtra = 7; // CALL cc: 17 instead of 10

// Block repeats run to the end in one step.
constexpr uint32_t blockMoveCostPerByte = 21;   // LDIR, LDDR; the product is kept to 16 bits
constexpr uint32_t blockCompareRepeatCost = 21; // CPIR, CPDR: each repetition that continues
constexpr uint32_t blockCompareLastCost = 16;   // and the last one

} // namespace vortastr::z80
