#pragma once
// Instructions beyond the 8086 that need more than a line: the 80186's PUSHA, POPA, BOUND
// and ENTER, and the V30's 0x0F page (bit instructions and ADD4S).
#include "v30_state.h"

namespace vortastr::v30 {

void pushAll(V30State& s);    // 0x60
void popAll(V30State& s);     // 0x61
void checkBound(V30State& s); // 0x62, after the opcode
void enterFrame(V30State& s); // 0xC8, after the opcode
// 0x0F: fetches the second byte and runs it; unknown second bytes cost 4 cycles and do nothing.
void extendedInstruction(V30State& s);

} // namespace vortastr::v30
