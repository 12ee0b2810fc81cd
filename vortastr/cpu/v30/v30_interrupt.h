#pragma once
// Interrupt entry through the vector table at linear address 0.
#include "v30_state.h"

namespace vortastr::v30 {

// 14 for the flags push, 10 and 10 for reading the new IP and CS, 11 and 11 for pushing CS and IP.
constexpr int32_t interruptEntryCycles = 56;

// Pushes FLAGS, CS and IP, clears IF and TF and continues at the vector's address. The
// caller charges the time (it differs between INT, INT 3, INTO, faults and requests).
void enterInterrupt(V30State& s, uint8_t vector);

} // namespace vortastr::v30
