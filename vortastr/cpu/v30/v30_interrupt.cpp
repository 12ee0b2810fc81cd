#include "v30_interrupt.h"

namespace vortastr::v30 {

void enterInterrupt(V30State& s, uint8_t vector)
{
    s.push(composeFlags(s));
    s.push(uint16_t(s.segment[CS]));
    s.push(uint16_t(s.ip));
    s.interruptFlag = 0;
    s.tf = 0;
    uint32_t entry = uint32_t(vector) * 4;
    s.ip = s.read16(0, entry);
    s.setSegment(CS, s.read16(0, entry + 2));
}

} // namespace vortastr::v30
