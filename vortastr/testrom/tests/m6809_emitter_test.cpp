// The 6809 emitter: the caller's encryption reaches opcode bytes only, labels resolve, and the
// "Vorta Strike" set decrypts to real code through the board's own decryption table.
#include "boards/konami_bitmap/testrom/vorta_test_set.h"
#include "m6809_decrypt.h"
#include "testrom/m6809_emitter.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace vortastr::testrom {
namespace {

TEST(M6809Emitter, EncryptsOpcodesAndPrefixedPairsButNotOperands)
{
    std::vector<std::pair<uint16_t, uint8_t>> seen;
    Emitter a(0x1000, 8, [&](uint16_t address, uint8_t opcode) {
        seen.emplace_back(address, opcode);
        return uint8_t(opcode ^ 0xFF);
    });
    a.org(0x1000);
    a.op(0x86), a.byte(0x12);                   // LDA #$12
    a.op(0x10, 0xCE), a.word(uint16_t(0x8FF0)); // LDS #$8FF0
    const std::vector<uint8_t>& bytes = a.finish();
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0x79, 0x12, 0xEF, 0x31, 0x8F, 0xF0, 0, 0}));
    EXPECT_EQ(seen, (std::vector<std::pair<uint16_t, uint8_t>>{{0x1000, 0x86}, {0x1002, 0x10}, {0x1003, 0xCE}}));
}

TEST(M6809Emitter, PlainWithoutEncryptionAndLabelsResolve)
{
    Emitter a(0x2000, 8);
    a.org(0x2000);
    a.label("top");
    a.op(0x7E), a.word("end"); // JMP end
    a.branch(0x20, "top");     // BRA top
    a.label("end");
    EXPECT_EQ(a.finish(), (std::vector<uint8_t>{0x7E, 0x20, 0x05, 0x20, 0xFB, 0, 0, 0}));

    Emitter far(0x0000, 0x200);
    far.org(0);
    far.branch(0x20, "away");
    far.org(0x100);
    far.label("away");
    EXPECT_THROW(far.finish(), std::runtime_error);
    Emitter unknown(0, 4);
    unknown.org(0);
    unknown.op(0x7E), unknown.word("nowhere");
    EXPECT_THROW(unknown.finish(), std::runtime_error);
    Emitter outside(0x100, 2);
    outside.org(0x101);
    outside.op(0x86);
    EXPECT_THROW(outside.byte(0), std::runtime_error);
}

TEST(M6809Emitter, VortaSetDecryptsToItsStartThroughTheBoardsTable)
{
    const auto files = buildVortaTestRomSet();
    const std::vector<uint8_t>& top = files.at("VSC_A10.BIN"); // 0xE000-0xFFFF
    const uint16_t reset = uint16_t(top[0x1FFE] << 8 | top[0x1FFF]);
    ASSERT_EQ(reset, 0xA000);
    const std::vector<uint8_t>& low = files.at("VSA_B9.BIN"); // 0xA000-0xBFFF
    M6809DecryptTable table;
    buildM6809DecryptTable(table);
    uint8_t opcodes[2];
    m6809DecryptOpcodes(table, low.data(), opcodes, reset, 2);
    EXPECT_EQ(opcodes[0], 0x10); // LDS #kStackTop
    EXPECT_EQ(opcodes[1], 0xCE);
    EXPECT_EQ(low[2], 0x8F); // operands stay plain
    EXPECT_NE(low[0], 0x10);
}

} // namespace
} // namespace vortastr::testrom
