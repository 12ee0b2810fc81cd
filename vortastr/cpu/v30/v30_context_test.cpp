// The 87-byte saved-state record of a V30 context.
#include "v30_context.h"
#include "v30_flags.h"

#include <gtest/gtest.h>

namespace vortastr::v30 {
namespace {

V30Context distinctive()
{
    V30Context c;
    c.ip = 0x1234;
    const uint16_t segments[4] = {0xE5E5, 0xC5C5, 0x5555, 0xD5D5};
    for (int i = 0; i < 4; ++i)
        c.setSegment(i, segments[i]);
    for (int r = 0; r < 8; ++r)
        c.reg[r] = uint16_t(0x0101 * (r + 1));
    c.tf = 1;
    c.interruptFlag = 1;
    c.df = 0;
    c.auxValue = 0x10;
    c.overflowValue = 0x8000;
    c.signValue = -2;
    c.zeroValue = 0xABCD;
    c.carryValue = 0x10000;
    c.parityValue = 0x7E;
    c.pendingVector = 0x42;
    static uint8_t block[16];
    c.memory = block;
    return c;
}

uint32_t le(const V30ContextRecord& r, std::size_t at, int bytes)
{
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v |= uint32_t(r[at + i]) << (8 * i);
    return v;
}

TEST(V30ContextRecord, FieldsInOrderLittleEndian)
{
    static_assert(v30ContextRecordSize == 87);
    V30Context c = distinctive();
    V30ContextRecord r = serialize(c);
    ASSERT_EQ(r.size(), 87u);
    EXPECT_EQ(le(r, 0, 4), 0x1234u);
    EXPECT_EQ(le(r, 4, 4), 0xE5E5u);   // ES
    EXPECT_EQ(le(r, 8, 4), 0xC5C5u);   // CS
    EXPECT_EQ(le(r, 12, 4), 0x5555u);  // SS
    EXPECT_EQ(le(r, 16, 4), 0xD5D5u);  // DS
    EXPECT_EQ(le(r, 20, 4), 0xE5E50u); // ES base
    EXPECT_EQ(le(r, 32, 4), 0xD5D50u); // DS base
    for (int reg = 0; reg < 8; ++reg)
        EXPECT_EQ(le(r, 36 + 2 * reg, 2), 0x0101u * (reg + 1)) << reg;
    EXPECT_EQ(r[52], 1);                  // TF
    EXPECT_EQ(r[53], 1);                  // IF
    EXPECT_EQ(r[54], 0);                  // DF
    EXPECT_EQ(le(r, 55, 4), 0x10u);       // auxiliary
    EXPECT_EQ(le(r, 59, 4), 0x8000u);     // overflow
    EXPECT_EQ(le(r, 63, 4), 0xFFFFFFFEu); // sign
    EXPECT_EQ(le(r, 67, 4), 0xABCDu);     // zero
    EXPECT_EQ(le(r, 71, 4), 0x10000u);    // carry
    EXPECT_EQ(le(r, 75, 4), 0x7Eu);       // parity
    EXPECT_EQ(le(r, 79, 4), 0x42u);       // pending vector
    EXPECT_EQ(le(r, 83, 4), 0u);          // memory base is never written
}

TEST(V30ContextRecord, RoundTripKeepsTheSlotsMemory)
{
    V30Context original = distinctive();
    V30ContextRecord r = serialize(original);
    uint8_t other[16];
    V30Context loaded;
    loaded.memory = other;
    r[83] = 0x99; // a memory base in the file is ignored
    deserialize(r.data(), loaded);
    EXPECT_EQ(loaded.memory, other);
    EXPECT_EQ(serialize(loaded), serialize(original));
    EXPECT_EQ(composeFlags(loaded), composeFlags(original));
}

TEST(V30ContextRecord, BasesFollowTheSegmentsOfADamagedRecord)
{
    V30ContextRecord r = serialize(distinctive());
    r[20] = 0x77;    // ES base out of step
    r[4 + 2] = 0x01; // ES value beyond 16 bits
    r[0 + 2] = 0x05; // IP beyond 16 bits
    V30Context loaded;
    deserialize(r.data(), loaded);
    EXPECT_EQ(loaded.segment[ES], 0xE5E5u);
    EXPECT_EQ(loaded.segmentBase[ES], 0xE5E50u);
    EXPECT_EQ(loaded.ip, 0x1234u);
}

} // namespace
} // namespace vortastr::v30
