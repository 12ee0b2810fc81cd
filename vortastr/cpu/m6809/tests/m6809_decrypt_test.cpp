// The opcode decryption table and the opcode image built from the data image.
#include "m6809_context.h"
#include "m6809_decrypt.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vortastr;

namespace {

TEST(M6809Decrypt, EachRowXorsTheMaskOfAddressBits1And3)
{
    M6809DecryptTable table;
    buildM6809DecryptTable(table);
    // address -> mask: bit 1 chooses 0x80 over 0x20, bit 3 chooses 0x08 over 0x02
    const struct {
        uint32_t address;
        uint8_t mask;
    } cases[] = {{0x0000, 0x22}, {0x0002, 0x82}, {0x0008, 0x28}, {0x000A, 0x88},
                 {0x8005, 0x22}, {0x8007, 0x82}, {0xFFFD, 0x28}, {0xFFFF, 0x88}};
    for (const auto& c : cases) {
        for (unsigned value : {0x00u, 0x5Au, 0xFFu}) {
            uint8_t data = uint8_t(value), opcode = 0;
            m6809DecryptOpcodes(table, &data, &opcode, c.address, 1);
            EXPECT_EQ(opcode, uint8_t(value ^ c.mask)) << std::hex << c.address;
        }
    }
}

TEST(M6809Decrypt, OpcodeImageIsACopyOrTheDecryptedDataImage)
{
    std::vector<uint8_t> block(0x20000);
    for (std::size_t i = 0; i < 0x10000; ++i)
        block[i] = uint8_t(i * 7 + 3);
    m6809BuildOpcodeImage(block.data(), nullptr);
    EXPECT_TRUE(std::equal(block.begin(), block.begin() + 0x10000, block.begin() + m6809OpcodeImage));

    M6809DecryptTable table;
    buildM6809DecryptTable(table);
    m6809BuildOpcodeImage(block.data(), &table);
    for (uint32_t a : {0x0000u, 0x0002u, 0x1238u, 0xFFFFu})
        EXPECT_EQ(block[m6809OpcodeImage + a], table.row[m6809DecryptRow(a)][block[a]]);
    EXPECT_NE(block[m6809OpcodeImage + 0x4000], block[0x4000]);
}

} // namespace
