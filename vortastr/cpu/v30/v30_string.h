#pragma once
// The string instructions (MOVS, CMPS, STOS, LODS, SCAS and the 80186 INS and OUTS), single
// or under a repeat prefix. A repeated instruction runs its whole repetition in one step, so
// no slice ends and no interrupt is taken in the middle of it.
#include "v30_state.h"

#include <cstdint>

namespace vortastr::v30 {

enum RepeatPrefix : uint8_t { repeatNone = 0, repeatWhileNotEqual = 0xF2, repeatWhileEqual = 0xF3 };

// `opcode` is one of 0x6C-0x6F, 0xA4-0xA7, 0xAA-0xAF.
void stringInstruction(V30State& s, uint8_t opcode, uint8_t repeat);

} // namespace vortastr::v30
