// The output bitmap's header and layout, and the two resizing methods.

#include <gtest/gtest.h>

#include <vector>

#include "core/output_bitmap.h"

namespace reelcast {
namespace {

uint32_t le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }

struct Picture {
    std::vector<uint32_t> pixels;
    uint32_t width, height;
    PictureView view() { return {pixels.data(), width, height}; }
};

// Every pixel distinct: R = x, G = y, B = 7.
Picture gradient(uint32_t w, uint32_t h)
{
    Picture p{std::vector<uint32_t>(size_t(w) * h), w, h};
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
            p.pixels[y * w + x] = (x & 0xFF) | ((y & 0xFF) << 8) | (7u << 16);
    return p;
}

// R, G, B of picture pixel (x, y) as stored in the bitmap.
std::array<int, 3> at(const OutputBitmap& b, uint32_t x, uint32_t y)
{
    const uint8_t* p = b.pictureRow(y) + 3 * x;
    return {p[2], p[1], p[0]};
}

TEST(OutputBitmap, HeaderAndRowPadding)
{
    struct Case {
        uint32_t w, h;
        size_t stride;
    };
    for (const Case c : {Case{320, 240, 960}, Case{161, 3, 484}, Case{1, 1, 4}, Case{2, 5, 8}}) {
        auto bmp = createOutputBitmap(c.w, c.h);
        ASSERT_TRUE(bmp);
        const uint8_t* h = bmp->header();
        EXPECT_EQ(le32(h), 40u);
        EXPECT_EQ(le32(h + 4), c.w);
        EXPECT_EQ(le32(h + 8), c.h); // positive: bottom-up
        EXPECT_EQ(h[12] | (h[13] << 8), 1);
        EXPECT_EQ(h[14] | (h[15] << 8), 24);
        EXPECT_EQ(le32(h + 16), 0u);
        EXPECT_EQ(le32(h + 20), c.stride * c.h);
        for (int off = 24; off < 40; off += 4)
            EXPECT_EQ(le32(h + off), 0u);
        EXPECT_EQ(bmp->stride(), c.stride);
    }
    EXPECT_FALSE(createOutputBitmap(0, 240));
    EXPECT_FALSE(createOutputBitmap(1u << 20, 1u << 20));
}

TEST(OutputBitmap, SameSizeStoresBgrBottomUp)
{
    Picture pic = gradient(16, 4);
    auto bmp = createOutputBitmap(16, 4);
    copyPictureToBitmap(pic.view(), *bmp, kResizeNone);
    // The top picture row is the last row of the block, stored B, G, R.
    const uint8_t* last = bmp->pixels() + bmp->stride() * 3;
    EXPECT_EQ(last[0], 7);
    EXPECT_EQ(last[1], 0);
    EXPECT_EQ(last[2], 0);
    EXPECT_EQ((at(*bmp, 5, 2)), (std::array<int, 3>{5, 2, 7}));
}

// Every width around the four-pixel groups of the fast copy: each pixel in place, row padding zero.
TEST(OutputBitmap, SameSizeCopyOfEveryWidthKeepsRowsApart)
{
    for (uint32_t w = 1; w <= 14; ++w) {
        Picture pic = gradient(w, 3);
        auto bmp = createOutputBitmap(w, 3);
        copyPictureToBitmap(pic.view(), *bmp, kResizeNone);
        for (uint32_t y = 0; y < 3; ++y) {
            for (uint32_t x = 0; x < w; ++x)
                EXPECT_EQ((at(*bmp, x, y)), (std::array<int, 3>{int(x), int(y), 7})) << w;
            for (size_t i = 3 * w; i < bmp->stride(); ++i)
                EXPECT_EQ(bmp->pictureRow(y)[i], 0) << w;
        }
    }
}

TEST(OutputBitmap, NearestEnlargingLeavesLastColumnAndRowBlack)
{
    Picture pic = gradient(320, 240);
    auto bmp = createOutputBitmap(640, 480);
    copyPictureToBitmap(pic.view(), *bmp, kResizeNearest);
    EXPECT_EQ((at(*bmp, 0, 0)), (std::array<int, 3>{0, 0, 7}));
    EXPECT_EQ((at(*bmp, 1, 1)), (std::array<int, 3>{1, 1, 7})); // trunc(0.5 + 0.5) = 1
    EXPECT_EQ((at(*bmp, 2, 2)), (std::array<int, 3>{1, 1, 7}));
    EXPECT_EQ((at(*bmp, 638, 100)), (std::array<int, 3>{319 & 0xFF, 50, 7}));
    for (uint32_t y = 0; y < 480; y += 37)
        EXPECT_EQ((at(*bmp, 639, y)), (std::array<int, 3>{0, 0, 0}));
    for (uint32_t x = 0; x < 640; x += 41)
        EXPECT_EQ((at(*bmp, x, 479)), (std::array<int, 3>{0, 0, 0}));
}

TEST(OutputBitmap, NearestReducingPicksRoundedSource)
{
    Picture pic = gradient(320, 240);
    auto bmp = createOutputBitmap(160, 120);
    copyPictureToBitmap(pic.view(), *bmp, kResizeNearest);
    EXPECT_EQ((at(*bmp, 10, 20)), (std::array<int, 3>{20, 40, 7}));
    EXPECT_EQ((at(*bmp, 159, 119)), (std::array<int, 3>{318 & 0xFF, 238, 7}));
}

TEST(OutputBitmap, BilinearInterpolatesAndClampsAtEdges)
{
    Picture pic = gradient(4, 4);
    auto bmp = createOutputBitmap(8, 8);
    copyPictureToBitmap(pic.view(), *bmp, kResizeBilinear);
    EXPECT_EQ((at(*bmp, 2, 2)), (std::array<int, 3>{1, 1, 7}));
    // Half-way between x = 1 and 2 (R 1 and 2): 1.5 truncated to 1; between rows 0 and 1 likewise.
    EXPECT_EQ((at(*bmp, 3, 1)), (std::array<int, 3>{1, 0, 7}));
    // The right and bottom neighbours beyond the edge are the edge pixels: no fading to black.
    EXPECT_EQ((at(*bmp, 7, 7)), (std::array<int, 3>{3, 3, 7}));
    EXPECT_EQ((at(*bmp, 7, 0)), (std::array<int, 3>{3, 0, 7}));

    // A two-value picture: exact weights.
    Picture two{{0x000000, 0x0000C8, 0x000000, 0x0000C8}, 2, 2};
    auto wide = createOutputBitmap(4, 2);
    copyPictureToBitmap(two.view(), *wide, kResizeBilinear);
    EXPECT_EQ(at(*wide, 1, 0)[0], 100); // 200 * 0.5
    EXPECT_EQ(at(*wide, 3, 1)[0], 200);
}

} // namespace
} // namespace reelcast
