#include "core/frame_decoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "core/colour_convert.h"
#include "core/idct_avx2.h"
#include "core/mdec_tables.h"
#include "support/bit_writer.h"
#include "support/reference_transform.h"

namespace reelcast {
namespace {

using test::BitWriter;

constexpr const char* kEob = "10";

// A macroblock of version 2 (10-bit DC values) with only DC coefficients.
void dcOnlyMacroblockV2(BitWriter& w, int cr, int cb, int y)
{
    for (int dc : {cr, cb, y, y, y, y})
        w.value(uint32_t(dc) & 0x3FF, 10).bits(kEob);
}

uint32_t rgb(int r, int g, int b) { return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16; }

TEST(Tables, CosineMatrixIsTruncatedCosines)
{
    for (int x = 0; x < 8; ++x)
        for (int k = 0; k < 8; ++k)
            EXPECT_EQ(kCosine[x][k], int32_t(16384 * std::cos((2 * x + 1) * k * M_PI / 16))) << x << "," << k;
}

TEST(BitReader, ReadsWordsLittleEndianMostSignificantBitFirstThenZeros)
{
    const uint8_t data[] = {0x34, 0x12, 0xCD};
    BitReader r;
    r.reset(data, sizeof data);
    EXPECT_EQ(r.readBits(4), 0x1u);
    EXPECT_EQ(r.readBits(8), 0x23u);
    EXPECT_EQ(r.readBits(4), 0x4u);
    EXPECT_EQ(r.readBits(16), 0x00CDu); // odd length: the last word's high byte reads as zero
    EXPECT_EQ(r.readBits(32), 0u);
    EXPECT_EQ(r.bitsConsumed(), 64u);
}

struct HeaderCase {
    const char* name;
    std::vector<uint8_t> data;
    FrameHeader expected;
};

class FrameHeaderPosition : public testing::TestWithParam<HeaderCase> {};

TEST_P(FrameHeaderPosition, IsFound)
{
    const auto& p = GetParam();
    const FrameHeader h = readFrameHeader(p.data.data(), p.data.size());
    EXPECT_EQ(h.quantScale, p.expected.quantScale);
    EXPECT_EQ(h.version, p.expected.version);
    EXPECT_EQ(h.bitstreamOffset, p.expected.bitstreamOffset);
}

std::vector<uint8_t> headerAt40(bool magic)
{
    std::vector<uint8_t> d(64, 0);
    d[4] = 9, d[6] = 2;
    d[42] = 0x00, d[43] = magic ? 0x38 : 0x37;
    d[44] = 5, d[46] = 3;
    return d;
}

INSTANTIATE_TEST_SUITE_P(Frames, FrameHeaderPosition,
                         testing::Values(HeaderCase{"AtStart", {0, 0, 0, 0x38, 7, 0, 3, 0}, {7, 3, 8}},
                                         HeaderCase{"At40", headerAt40(true), {5, 3, 48}},
                                         HeaderCase{"NowhereKeepsFirstWords", headerAt40(false), {9, 2, 44}},
                                         HeaderCase{"EmptyData", {}, {0, 0, 44}}),
                         [](const auto& info) { return std::string(info.param.name); });

// Codes written as the MPEG-1 coefficient table prints them (without the sign bit).
struct CodeCase {
    const char* code;
    int run;
    int level;
};

class CoefficientCode : public testing::TestWithParam<CodeCase> {};

TEST_P(CoefficientCode, DecodesToRunAndSignedLevel)
{
    const auto& c = GetParam();
    for (int sign = 0; sign < 2; ++sign) {
        BitWriter w;
        w.value(0, 10).bits(c.code).value(sign, 1).bits(kEob);
        const auto frame = w.frame(1, 2);
        FrameDecoder d;
        d.beginFrame(frame.data(), frame.size());
        int16_t block[64];
        int16_t predictor = 0;
        ASSERT_EQ(d.decodeBlock(block, predictor, false), kDecodeOk) << c.code;
        for (int p = 1; p < 64; ++p)
            EXPECT_EQ(block[p], p == 1 + c.run ? (sign ? -c.level : c.level) : 0) << c.code << " at " << p;
        EXPECT_EQ(d.bitReader().bitsConsumed(), w.size()) << c.code;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Mpeg1Table, CoefficientCode,
    testing::Values(
        CodeCase{"11", 0, 1}, CodeCase{"011", 1, 1}, CodeCase{"0100", 0, 2}, CodeCase{"0101", 2, 1},
        CodeCase{"00101", 0, 3}, CodeCase{"00111", 3, 1}, CodeCase{"00110", 4, 1}, CodeCase{"000110", 1, 2},
        CodeCase{"000111", 5, 1}, CodeCase{"000101", 6, 1}, CodeCase{"000100", 7, 1}, CodeCase{"0000110", 0, 4},
        CodeCase{"0000100", 2, 2}, CodeCase{"0000111", 8, 1}, CodeCase{"0000101", 9, 1}, CodeCase{"00100110", 0, 5},
        CodeCase{"00100001", 0, 6}, CodeCase{"00100101", 1, 3}, CodeCase{"00100100", 3, 2}, CodeCase{"00100111", 10, 1},
        CodeCase{"00100011", 11, 1}, CodeCase{"00100010", 12, 1}, CodeCase{"00100000", 13, 1},
        CodeCase{"0000001010", 0, 7}, CodeCase{"0000001100", 1, 4}, CodeCase{"0000001011", 2, 3},
        CodeCase{"0000001111", 4, 2}, CodeCase{"0000001001", 5, 2}, CodeCase{"0000001110", 14, 1},
        CodeCase{"0000001101", 15, 1}, CodeCase{"0000001000", 16, 1}, CodeCase{"000000011101", 0, 8},
        CodeCase{"000000011000", 0, 9}, CodeCase{"000000010011", 0, 10}, CodeCase{"000000010000", 0, 11},
        CodeCase{"000000011011", 1, 5}, CodeCase{"000000010100", 2, 4}, CodeCase{"000000011100", 3, 3},
        CodeCase{"000000010010", 4, 3}, CodeCase{"000000011110", 6, 2}, CodeCase{"000000010101", 7, 2},
        CodeCase{"000000010001", 8, 2}, CodeCase{"000000011111", 17, 1}, CodeCase{"000000011010", 18, 1},
        CodeCase{"000000011001", 19, 1}, CodeCase{"000000010111", 20, 1}, CodeCase{"000000010110", 21, 1},
        CodeCase{"0000000011010", 0, 12}, CodeCase{"0000000010111", 0, 15}, CodeCase{"0000000010110", 1, 6},
        CodeCase{"0000000010101", 1, 7}, CodeCase{"0000000010100", 2, 5}, CodeCase{"0000000010011", 3, 4},
        CodeCase{"0000000010010", 5, 3}, CodeCase{"0000000010001", 9, 2}, CodeCase{"0000000010000", 10, 2},
        CodeCase{"0000000011111", 22, 1}, CodeCase{"0000000011011", 26, 1}, CodeCase{"00000000011111", 0, 16},
        CodeCase{"00000000010000", 0, 31}, CodeCase{"000000000011000", 0, 32}, CodeCase{"000000000010000", 0, 40},
        CodeCase{"000000000011111", 1, 8}, CodeCase{"000000000011001", 1, 14}, CodeCase{"0000000000010011", 1, 15},
        CodeCase{"0000000000010000", 1, 18}, CodeCase{"0000000000010100", 6, 3}, CodeCase{"0000000000011010", 11, 2},
        CodeCase{"0000000000010101", 16, 2}, CodeCase{"0000000000011111", 27, 1}, CodeCase{"0000000000011011", 31, 1}),
    [](const auto& info) { return std::string("c") + info.param.code; });

struct EscapeCase {
    const char* name;
    uint32_t run, levelBits;
    int position, level;
};

class EscapeCode : public testing::TestWithParam<EscapeCase> {};

TEST_P(EscapeCode, ReadsSixBitRunAndSignedTenBitLevel)
{
    const auto& c = GetParam();
    BitWriter w;
    w.value(0, 10).bits("000001").value(c.run, 6).value(c.levelBits, 10).bits("11 0" /* (0,1) */).bits(kEob);
    const auto frame = w.frame(1, 2);
    FrameDecoder d;
    d.beginFrame(frame.data(), frame.size());
    int16_t block[64];
    int16_t predictor = 0;
    ASSERT_EQ(d.decodeBlock(block, predictor, false), kDecodeOk);
    int nonZero = 0;
    for (int p = 1; p < 64; ++p)
        nonZero += block[p] != 0;
    if (c.position <= 63) {
        EXPECT_EQ(block[c.position], c.level);
    }
    if (c.position < 63) {
        EXPECT_EQ(block[c.position + 1], 1);
    }
    EXPECT_EQ(nonZero, c.position < 63 ? 2 : (c.position == 63 ? 1 : 0)); // nothing lands past 63
}

INSTANTIATE_TEST_SUITE_P(Levels, EscapeCode,
                         testing::Values(EscapeCase{"MostNegative", 0, 0x200, 1, -512},
                                         EscapeCase{"MostPositive", 3, 0x1FF, 4, 511},
                                         EscapeCase{"MinusOne", 10, 0x3FF, 11, -1},
                                         EscapeCase{"LandsOn63", 62, 0x005, 63, 5},
                                         EscapeCase{"RunPast63StoresNothing", 63, 0x005, 64, 5}),
                         [](const auto& info) { return std::string(info.param.name); });

struct InvalidCase {
    const char* bits;
    size_t consumedAfterDc;
};

class InvalidCode : public testing::TestWithParam<InvalidCase> {};

TEST_P(InvalidCode, FailsAfterAtMost14Bits)
{
    BitWriter w;
    w.value(0, 10).bits(GetParam().bits).bits("1111111111111111");
    const auto frame = w.frame(1, 2);
    FrameDecoder d;
    d.beginFrame(frame.data(), frame.size());
    int16_t block[64], predictor = 0;
    EXPECT_EQ(d.decodeBlock(block, predictor, false), kDecodeBadCode);
    EXPECT_EQ(d.bitReader().bitsConsumed(), 10 + GetParam().consumedAfterDc);
}

INSTANTIATE_TEST_SUITE_P(Codes, InvalidCode,
                         testing::Values(InvalidCase{"000000000000", 13}, InvalidCase{"0000000000000", 14},
                                         InvalidCase{"00000000000000", 14}, InvalidCase{"000000000000000", 14}));

TEST(DcCoefficient, Version3UsesSizeCodesAndPredictors)
{
    // Luminance: size 3 code 101, value 010 -> 2 - 8 + 1 = -5; chrominance: size 2 code 10, value 11 -> 3.
    BitWriter w;
    w.bits("101 010").bits(kEob);               // Y: -5 -> DC -20
    w.bits("101 010").bits(kEob);               // Y: -5 again -> predictor -40
    w.bits("10 11").bits(kEob);                 // Cr: 3 -> 12
    w.bits("100").bits(kEob);                   // Y: size 0 keeps the predictor
    w.bits("111111111 11111111111").bits(kEob); // Y: size 11, 2047 -> +8188
    const auto frame = w.frame(1, 3);
    FrameDecoder d;
    d.beginFrame(frame.data(), frame.size());
    int16_t block[64], y = 0, cr = 0;
    ASSERT_EQ(d.decodeBlock(block, y, false), kDecodeOk);
    EXPECT_EQ(block[0], -20);
    ASSERT_EQ(d.decodeBlock(block, y, false), kDecodeOk);
    EXPECT_EQ(block[0], -40);
    ASSERT_EQ(d.decodeBlock(block, cr, true), kDecodeOk);
    EXPECT_EQ(block[0], 12);
    ASSERT_EQ(d.decodeBlock(block, y, false), kDecodeOk);
    EXPECT_EQ(block[0], -40);
    ASSERT_EQ(d.decodeBlock(block, y, false), kDecodeOk);
    EXPECT_EQ(block[0], -40 + 4 * 2047);
}

TEST(DcCoefficient, DcOnlyBlockOf100GivesFlat24)
{
    int16_t in[64] = {100}, out[64];
    idct(in, out);
    for (int v : out)
        EXPECT_EQ(v, 24);
}

class Transform : public testing::TestWithParam<bool> {
protected:
    void SetUp() override { useAvx2Transform = GetParam() && avx2TransformAvailable(); }
    void TearDown() override { useAvx2Transform = avx2TransformAvailable(); }
};

TEST_P(Transform, FastPathsMatchTheFullArithmetic)
{
    std::mt19937 rng(1234);
    int16_t zz[64], natural[64], reference[64], out[64], refOut[64];
    for (int trial = 0; trial < 4000; ++trial) {
        const int density = trial % 5; // from DC only to dense blocks
        const int range = trial % 3 == 0 ? 32767 : (trial % 3 == 1 ? 600 : 40);
        for (int i = 0; i < 64; ++i) {
            const bool set = i == 0 || (density > 0 && int(rng() % 16) < density * density / 2 + (i < 6 ? 2 : 0));
            zz[i] = set ? int16_t(int(rng() % (2 * range + 1)) - range) : 0;
        }
        const int scale = trial % 7 == 0 ? int(rng() % 65536) : int(rng() % 64);
        dequantise(zz, natural, scale);
        test::referenceDequantise(zz, reference, scale);
        ASSERT_EQ(0, std::memcmp(natural, reference, sizeof natural)) << trial;
        idct(natural, out);
        test::referenceIdct(natural, refOut);
        ASSERT_EQ(0, std::memcmp(out, refOut, sizeof out)) << trial;
    }
}

// The conversion as the format states it, one pixel at a time.
uint32_t referencePixel(int y, int cr, int cb, const GammaTable& gamma)
{
    auto clamp = [](int v, int lo, int hi) { return std::min(std::max(v, lo), hi); };
    const int g = gamma[clamp(y + 128, 0, 255)];
    cr = clamp(cr, -128, 127);
    cb = clamp(cb, -128, 127);
    const int r = clamp((4096 * g + 5743 * cr) / 4096, 0, 255);
    const int gr = clamp((4096 * g - 1408 * cb - 2926 * cr) / 4096, 0, 255);
    const int b = clamp((4096 * g + 7258 * cb) / 4096, 0, 255);
    return rgb(r, gr, b);
}

TEST(ColourConversion, BothPathsFollowTheFormulaOverWholeRanges)
{
    std::mt19937 rng(99);
    int16_t y[64], cr[64], cb[64];
    uint32_t fast[64], slow[64];
    for (int trial = 0; trial < 2000; ++trial) {
        GammaTable gamma;
        gamma.build(int(rng() % 201));
        uint8_t table[256];
        for (int i = 0; i < 256; ++i)
            table[i] = uint8_t(gamma[i]);
        const int range = trial % 2 ? 32768 : 300; // extremes, and values near the clamps
        for (int i = 0; i < 64; ++i) {
            y[i] = int16_t(int(rng() % (2 * range)) - range);
            cr[i] = int16_t(int(rng() % (2 * range)) - range);
            cb[i] = int16_t(int(rng() % (2 * range)) - range);
        }
        ChromaTerms terms, scalarTerms;
        chromaTerms(cr, cb, terms);
        chromaTermsScalar(cr, cb, scalarTerms);
        const int quarter = trial % 4;
        convertBlock(y, terms, quarter, table, fast);
        convertBlockScalar(y, scalarTerms, quarter, table, slow);
        for (int i = 0; i < 64; ++i) {
            const int c = ((quarter >> 1) * 4 + i / 16) * 8 + (quarter & 1) * 4 + (i % 8) / 2;
            const uint32_t expected = referencePixel(y[i], cr[c], cb[c], gamma);
            ASSERT_EQ(fast[i], expected) << trial << " pixel " << i;
            ASSERT_EQ(slow[i], expected) << trial << " pixel " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, Transform, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Avx2WhereAvailable" : "Scalar"; });

struct ColourCase {
    const char* name;
    int crDc, cbDc, yDc; // DC values giving the samples below after the transform
    uint32_t pixel;
};

class ColourConversion : public testing::TestWithParam<ColourCase> {};

TEST_P(ColourConversion, GivesPixel)
{
    const auto& c = GetParam();
    BitWriter w;
    dcOnlyMacroblockV2(w, c.crDc, c.cbDc, c.yDc);
    const auto frame = w.frame(1, 2);
    FrameDecoder d;
    d.beginFrame(frame.data(), frame.size());
    FrameDecoder::BlockPixels px[4];
    ASSERT_EQ(d.decodeMacroblock(px), kDecodeOk);
    for (const auto& block : px)
        for (uint32_t p : block)
            ASSERT_EQ(p, c.pixel);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, ColourConversion,
    testing::Values(ColourCase{"Grey152", 0, 0, 100, rgb(152, 152, 152)},                // Y 24 -> Y' 152
                    ColourCase{"Mixed", 161, -81, -113, rgb(156, 78, 64)},               // Y' 100, Cr 40, Cb -20
                    ColourCase{"NegativeGreenIsZero", 511, 511, -512, rgb(179, 0, 226)}, // Y' 1, Cr Cb 127
                    ColourCase{"ClampsAt255", 511, -512, 511, rgb(255, 207, 29)}),       // Y' 255, Cr 127, Cb -127
    [](const auto& info) { return std::string(info.param.name); });

TEST(Gamma, TableFollowsPowerLaw)
{
    GammaTable g;
    g.build(0);
    for (int v : g.entries)
        EXPECT_EQ(v, 255);
    g.build(200);
    EXPECT_EQ(g[0], 0);
    EXPECT_EQ(g[128], 64); // (128/255)^2 * 255 = 64.25
    EXPECT_EQ(g[255], 255);
    g.build(100);
    EXPECT_EQ(g[152], 152);
    EXPECT_EQ(g[33], 32); // 33 * (1/255) * 255 falls just short of 33
    EXPECT_EQ(g.value, 100);
}

TEST(Gamma, ZeroGivesFullLuminancePictures)
{
    BitWriter w;
    dcOnlyMacroblockV2(w, 0, 0, -300);
    const auto frame = w.frame(1, 2);
    FrameDecoder d;
    GammaTable g;
    g.build(0);
    d.setGamma(g);
    d.beginFrame(frame.data(), frame.size());
    FrameDecoder::BlockPixels px[4];
    ASSERT_EQ(d.decodeMacroblock(px), kDecodeOk);
    EXPECT_EQ(px[3][63], rgb(255, 255, 255));
}

// A picture of 2 x 2 macroblocks with some AC coefficients, in version 2 or 3.
std::vector<uint8_t> smallPicture(uint16_t version)
{
    BitWriter w;
    const int dcs[4][6] = {
        {8, -4, 40, 44, 36, 40}, {0, 0, -20, -20, -24, -28}, {12, 16, 100, 100, 96, 92}, {-8, 4, 0, 4, 8, 12}};
    int16_t yPred = 0, crPred = 0, cbPred = 0;
    auto dc = [&](int value, int16_t& pred, bool chroma) {
        if (version == 2) {
            w.value(uint32_t(value) & 0x3FF, 10);
            return;
        }
        const int diff = (value - pred) / 4; // values are multiples of 4
        pred = int16_t(value);
        int size = 0;
        while ((1 << size) <= std::abs(diff))
            ++size;
        static const char* lum[12] = {"100",   "00",     "01",      "101",      "110",       "1110",
                                      "11110", "111110", "1111110", "11111110", "111111110", "111111111"};
        static const char* chr[12] = {"00",     "01",      "10",       "110",       "1110",       "11110",
                                      "111110", "1111110", "11111110", "111111110", "1111111110", "1111111111"};
        w.bits(chroma ? chr[size] : lum[size]);
        if (size)
            w.value(uint32_t(diff > 0 ? diff : diff + (1 << size) - 1), size);
    };
    for (const auto& mb : dcs) {
        for (int b = 0; b < 6; ++b) {
            dc(mb[b], b == 0 ? crPred : (b == 1 ? cbPred : yPred), b < 2);
            w.bits("0100 0").bits("011 1").bits("000000011101 1").bits(kEob); // (0,2) (1,-1) (0,-8)
        }
    }
    return w.frame(2, version);
}

TEST(FrameDecoder, Version2And3GiveSamePictureForSameDcValues)
{
    std::vector<uint32_t> a(32 * 32, 1), b(32 * 32, 2);
    FrameDecoder d;
    const auto v2 = smallPicture(2), v3 = smallPicture(3);
    d.decodeFrame(v2.data(), v2.size(), {a.data(), 32, 32});
    d.decodeFrame(v3.data(), v3.size(), {b.data(), 32, 32});
    EXPECT_EQ(a, b);
    EXPECT_NE(a[0], a[31 * 32 + 31]);
}

TEST(FrameDecoder, PartialMacroblocksKeepPreviousPixels)
{
    const uint32_t w = 40, h = 24, keep = 0xABCDEF;
    std::vector<uint32_t> pic(w * h, keep);
    const auto frame = smallPicture(3);
    FrameDecoder d;
    d.decodeFrame(frame.data(), frame.size(), {pic.data(), w, h});
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
            EXPECT_EQ(pic[y * w + x] == keep, x >= 32 || y >= 16) << x << "," << y;
}

TEST(FrameDecoder, UnsupportedVersionWritesTheUnchangedArraysEverywhere)
{
    auto frame = smallPicture(3);
    frame[6] = 4;
    std::vector<uint32_t> pic(32 * 32, 0x123456);
    FrameDecoder d;
    d.beginFrame(frame.data(), frame.size());
    FrameDecoder::BlockPixels px[4] = {};
    EXPECT_EQ(d.decodeMacroblock(px), kDecodeBadVersion);
    EXPECT_EQ(d.bitReader().bitsConsumed(), 0u);
    d.decodeFrame(frame.data(), frame.size(), {pic.data(), 32, 32});
    for (uint32_t p : pic)
        ASSERT_EQ(p, 0u); // the arrays start black
}

TEST(FrameDecoder, InvalidCodeLeavesArraysAndDecodingGoesOn)
{
    BitWriter w;
    dcOnlyMacroblockV2(w, 0, 0, 100);     // macroblock 1: grey 152
    w.value(0, 10).bits("0000000000001"); // macroblock 2: invalid code in its first block
    dcOnlyMacroblockV2(w, 0, 0, 200);     // macroblock 3 starts right after the bad code
    const auto frame = w.frame(1, 2);
    std::vector<uint32_t> pic(16 * 48, 7);
    FrameDecoder d;
    d.decodeFrame(frame.data(), frame.size(), {pic.data(), 16, 48});
    EXPECT_EQ(pic[0], rgb(152, 152, 152));
    EXPECT_EQ(pic[16 * 16], rgb(152, 152, 152)); // the failed macroblock repeats the previous pixels
    EXPECT_NE(pic[32 * 16], rgb(152, 152, 152));
}

TEST(FrameDecoder, FrameDataRunningOutReadsZerosAndStopsCleanly)
{
    BitWriter w;
    dcOnlyMacroblockV2(w, 0, 0, 100);
    const auto frame = w.frame(1, 2);
    std::vector<uint32_t> pic(320 * 240, 7);
    FrameDecoder d;
    d.decodeFrame(frame.data(), frame.size(), {pic.data(), 320, 240});
    for (uint32_t p : pic)
        ASSERT_EQ(p, rgb(152, 152, 152));
}

} // namespace
} // namespace reelcast
