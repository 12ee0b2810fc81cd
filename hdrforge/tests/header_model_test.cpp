// The header model: decoding, encoding, the nibble digits, size check, mapper names, list texts.
#include <gtest/gtest.h>

#include "mapper_table.h"
#include "nes_header.h"
#include "size_lists.h"

using namespace hdrforge;

namespace {

HeaderBytes withBytes(std::uint8_t b4, std::uint8_t b5, std::uint8_t b6, std::uint8_t b7)
{
    HeaderBytes h{};
    h[4] = b4;
    h[5] = b5;
    h[6] = b6;
    h[7] = b7;
    return h;
}

struct DecodeCase {
    std::uint8_t b6, b7;
    int mapper, mirroring, battery, trainer, fourScreen;
};

class DecodeTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, ReadsMapperAndFlags)
{
    const DecodeCase& c = GetParam();
    HeaderFields f = decodeHeader(withBytes(3, 4, c.b6, c.b7));
    EXPECT_EQ(f.prgPages, 3);
    EXPECT_EQ(f.chrPages, 4);
    EXPECT_EQ(f.mapper, c.mapper);
    EXPECT_EQ(f.mirroring, c.mirroring);
    EXPECT_EQ(f.battery, c.battery);
    EXPECT_EQ(f.trainer, c.trainer);
    EXPECT_EQ(f.fourScreen, c.fourScreen);
}

INSTANTIATE_TEST_SUITE_P(Bytes6And7, DecodeTest,
                         testing::Values(DecodeCase{0x01, 0x00, 0, 1, 0, 0, 0}, DecodeCase{0x0F, 0x00, 0, 1, 1, 1, 1},
                                         DecodeCase{0x10, 0x00, 1, 0, 0, 0, 0},
                                         DecodeCase{0x00, 0x0F, 0, 0, 0, 0, 0}, // low nibble of 7 ignored
                                         DecodeCase{0x02, 0x00, 0, 0, 1, 0, 0}, DecodeCase{0x04, 0x00, 0, 0, 0, 1, 0},
                                         DecodeCase{0x08, 0x00, 0, 0, 0, 0, 1}, DecodeCase{0xF3, 0xF0, 255, 1, 1, 0, 0},
                                         DecodeCase{0x40, 0x1F, 20, 0, 0, 0, 0},
                                         DecodeCase{0x00, 0xF0, 240, 0, 0, 0, 0}));

TEST(HeaderEncode, Mapper255With32PrgNoChrVerticalBattery)
{
    HeaderFields f;
    f.prgPages = 32;
    f.chrPages = 0;
    f.mirroring = 1;
    f.battery = 1;
    f.mapper = 255;
    HeaderBytes h = encodeHeader(f);
    HeaderBytes expected{'N', 'E', 'S', 0x1A, 0x20, 0x00, 0xF3, 0xF0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(h, expected);
}

TEST(HeaderEncode, Byte7LowNibbleAndTailAreWrittenAsZero)
{
    HeaderBytes read = withBytes(1, 1, 0x00, 0x0F);
    for (int i = 8; i < 16; ++i)
        read[i] = 0xAA;
    HeaderBytes written = encodeHeader(decodeHeader(read));
    EXPECT_EQ(written[7], 0x00);
    for (int i = 8; i < 16; ++i)
        EXPECT_EQ(written[i], 0) << i;
}

TEST(HeaderEncode, EveryMapperAndFlagCombinationRoundTrips)
{
    for (int mapper = 0; mapper < 256; ++mapper) {
        for (int flags = 0; flags < 16; ++flags) {
            HeaderFields f;
            f.prgPages = 1 + mapper % 32;
            f.chrPages = flags * 4;
            f.mapper = mapper;
            f.mirroring = flags & 1;
            f.battery = flags >> 1 & 1;
            f.trainer = flags >> 2 & 1;
            f.fourScreen = flags >> 3 & 1;
            HeaderBytes h = encodeHeader(f);
            ASSERT_EQ(h[6], (mapper & 0xF) << 4 | flags);
            ASSERT_EQ(h[7], mapper & 0xF0);
            ASSERT_EQ(decodeHeader(h), f) << mapper << " " << flags;
        }
    }
}

TEST(HeaderEncode, CountsBeyondTheListsAreKept)
{
    for (int prg : {0, 33, 40, 255}) {
        HeaderFields f = decodeHeader(withBytes(static_cast<std::uint8_t>(prg), 200, 0x10, 0x00));
        HeaderBytes h = encodeHeader(f);
        EXPECT_EQ(h[4], prg);
        EXPECT_EQ(h[5], 200);
    }
}

TEST(HeaderDigits, ByteSevenOneSplitsTheMapperAndIgnoresOutOfRange)
{
    HeaderDigits d;
    findByteSevenOne(0xAB, d);
    EXPECT_EQ(d.mapperLowDigit, "B");
    EXPECT_EQ(d.mapperHighByte, "A0");
    findByteSevenOne(256, d);
    findByteSevenOne(-1, d);
    EXPECT_EQ(d.mapperLowDigit, "B");
    EXPECT_EQ(d.mapperHighByte, "A0");
}

TEST(HeaderDigits, ByteSevenTwoKeepsTheLastDigitWhenAListHasNoSelection)
{
    HeaderDigits d;
    findByteSevenTwo(1, 0, 1, 1, d);
    EXPECT_EQ(d.flagsDigit, "D");
    findByteSevenTwo(0, -1, 0, 0, d);
    EXPECT_EQ(d.flagsDigit, "D");
    HeaderBytes h = buildHeader(1, 0, d);
    EXPECT_EQ(h[6], 0x0D);
}

TEST(Nes2, RecognisedByByte7Bits3And2)
{
    EXPECT_TRUE(isNes2Header(withBytes(1, 1, 0, 0x08)));
    EXPECT_TRUE(isNes2Header(withBytes(1, 1, 0, 0xF8)));
    EXPECT_TRUE(isNes2Header(withBytes(1, 1, 0, 0x0B)));
    EXPECT_FALSE(isNes2Header(withBytes(1, 1, 0, 0x0C)));
    EXPECT_FALSE(isNes2Header(withBytes(1, 1, 0, 0x04)));
    EXPECT_FALSE(isNes2Header(withBytes(1, 1, 0, 0x00)));
}

TEST(SizeCheck, ExpectedGameSize)
{
    HeaderFields f;
    f.prgPages = 2;
    f.chrPages = 1;
    EXPECT_EQ(expectedGameSize(f), 40976u);
    f.trainer = 1;
    EXPECT_EQ(expectedGameSize(f), 41488u);
    f.prgPages = 255;
    f.chrPages = 255;
    EXPECT_EQ(expectedGameSize(f), 16u + 512u + 255u * 16384u + 255u * 8192u);
}

TEST(MapperDesc, KnownNumbersGiveChipHyphensAndNote)
{
    const std::string hyphens(34, '-');
    EXPECT_EQ(findMapperDesc(0), "No mapper " + hyphens + " All 32kB ROM + 8kB VROM games");
    EXPECT_EQ(findMapperDesc(24), "Konami VRC6 " + hyphens + " ???");
    EXPECT_EQ(findMapperDesc(34), "32kB ROM switch " + hyphens + " Examples: Impossible Mission 2 and Deadly Towers");
    EXPECT_NE(findMapperDesc(7), findMapperDesc(34));
}

TEST(MapperDesc, GapsAndLargeNumbersHaveNoInfo)
{
    for (int m : {13, 14, 25, 26, 27, 28, 29, 30, 31, 35, 64, 255, 256, -1})
        EXPECT_EQ(findMapperDesc(m), "No Info Available") << m;
    int known = 0;
    for (int m = 0; m < 256; ++m)
        known += findMapperDesc(m) != "No Info Available";
    EXPECT_EQ(known, 26);
}

TEST(MapperDesc, TextBoxContents)
{
    EXPECT_EQ(findMapperDescForText("4"), findMapperDesc(4));
    EXPECT_EQ(findMapperDescForText("0004"), findMapperDesc(4));
    for (const char* bad : {"", "abc", "4x", " 4", "-1", "+4", "99999999999999999999", "13"})
        EXPECT_EQ(findMapperDescForText(bad), "No Info Available") << bad;
}

TEST(SizeLists, ItemTexts)
{
    EXPECT_EQ(programPagesText(1), "16384 bytes (1 x 16kb pages)");
    EXPECT_EQ(programPagesText(32), "524288 bytes (32 x 16kb pages)");
    EXPECT_EQ(characterPagesText(0), "No CHR");
    EXPECT_EQ(characterPagesText(1), "8192 bytes (1 x 8kb pages)");
    EXPECT_EQ(characterPagesText(64), "524288 bytes (64 x 8kb pages)");
}

} // namespace
