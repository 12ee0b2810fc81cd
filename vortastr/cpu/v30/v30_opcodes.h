#pragma once
// Per-opcode base times, laid out as 16x16 grids (row = high nibble, column = low nibble).
#include <array>
#include <cstdint>

namespace vortastr::v30 {

// The time of the register form, or of the only form. Conditional transfers hold their
// not-taken time; groups whose time depends on the reg field hold 0 and charge in place.
extern const std::array<uint8_t, 256> registerFormCycles;
// The time of the memory form of ModR/M instructions, before the effective-address time.
extern const std::array<uint8_t, 256> memoryFormCycles;

} // namespace vortastr::v30
