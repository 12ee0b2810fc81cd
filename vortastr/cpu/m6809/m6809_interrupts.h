#pragma once
// Interrupt vectors, entry costs and the choice of the interrupt to take.
#include "m6809_alu.h"
#include "m6809_context.h"

namespace vortastr::m6809 {

constexpr uint16_t resetVector = 0xFFFE;
constexpr uint16_t nmiVector = 0xFFFC;
constexpr uint16_t swiVector = 0xFFFA;
constexpr uint16_t irqVector = 0xFFF8;
constexpr uint16_t firqVector = 0xFFF6;
constexpr uint16_t swi2Vector = 0xFFF4;
constexpr uint16_t swi3Vector = 0xFFF2;

constexpr int32_t nmiEntryCycles = 19;
constexpr int32_t irqEntryCycles = 19;
constexpr int32_t firqEntryCycles = 10;
constexpr int32_t rtiEntireStateCycles = 9; // added to RTI's 6 when E is set

enum class Interrupt : uint8_t { None, Nmi, Firq, Irq };

// The first eligible of NMI, FIRQ and IRQ. NMI is never masked; `nmiArmed` is false while S is
// zero (before the program set up its stack), except in the CWAI wait where NMI always wakes.
inline Interrupt eligibleInterrupt(uint16_t pending, const Flags& fl, bool nmiArmed)
{
    if ((pending & m6809NmiBit) && nmiArmed)
        return Interrupt::Nmi;
    if ((pending & m6809FirqBit) && !fl.f)
        return Interrupt::Firq;
    if ((pending & m6809IrqBit) && !fl.i)
        return Interrupt::Irq;
    return Interrupt::None;
}

} // namespace vortastr::m6809
