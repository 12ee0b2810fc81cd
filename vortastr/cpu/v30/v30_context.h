#pragma once
// The register file of one V30 processor: what a slot keeps between slices and what a
// saved state stores. The arithmetic flags are held in derived form (see v30_flags.h).
#include <array>
#include <cstddef>
#include <cstdint>

namespace vortastr::v30 {

// Segment registers in the 8086 encoding order (the reg field of MOV Sreg forms).
enum SegmentIndex : int { ES = 0, CS = 1, SS = 2, DS = 3 };
// General registers in the 8086 encoding order.
enum RegisterIndex : int { AX = 0, CX = 1, DX = 2, BX = 3, SP = 4, BP = 5, SI = 6, DI = 7 };

struct V30Context {
    uint32_t ip = 0;              // 16-bit value
    uint32_t segment[4] = {};     // ES, CS, SS, DS
    uint32_t segmentBase[4] = {}; // segment values times 16, kept in step
    uint16_t reg[8] = {};         // AX, CX, DX, BX, SP, BP, SI, DI
    uint8_t tf = 0;               // trap flag
    uint8_t interruptFlag = 0;    // IF
    uint8_t df = 0;               // direction flag
    uint32_t auxValue = 0;        // AF set when non-zero
    uint32_t overflowValue = 0;   // OF set when non-zero
    int32_t signValue = 0;        // SF set when negative
    uint32_t zeroValue = 1;       // ZF set when zero
    uint32_t carryValue = 0;      // CF set when non-zero
    uint32_t parityValue = 1;     // PF = even parity of the low byte
    uint32_t pendingVector = 0;   // interrupt waiting to be taken, 0 for none
    uint8_t* memory = nullptr;    // the slot's 1 MB block

    // Sets a segment register and its base together.
    void setSegment(int index, uint16_t value)
    {
        segment[index] = value;
        segmentBase[index] = uint32_t(value) << 4;
    }
};

// The packed saved-state record: the fields above in order, little-endian, with the
// memory-base field written as 0 and ignored when read.
constexpr std::size_t v30ContextRecordSize = 87;
using V30ContextRecord = std::array<uint8_t, v30ContextRecordSize>;

V30ContextRecord serialize(const V30Context& context);
// Fills `context` from a record; the memory pointer of `context` is kept. Segment bases are
// recomputed from the segment values so a damaged record cannot put them out of step.
void deserialize(const uint8_t* record, V30Context& context);

} // namespace vortastr::v30
