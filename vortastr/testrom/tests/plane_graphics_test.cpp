// Bit-plane encoding of pen pictures into tile ROM layouts.
#include "testrom/plane_graphics.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace vortastr::testrom {
namespace {

PenImage blank(int w, int h) { return {w, h, std::vector<uint8_t>(std::size_t(w) * std::size_t(h), 0)}; }

void set(PenImage& image, int x, int y, uint8_t pen)
{
    image.pens[std::size_t(y) * std::size_t(image.width) + std::size_t(x)] = pen;
}

// 8 x 8, two planes of 8 bytes each (rows), tiles 16 bytes apart.
PlaneLayout rowPlanes() { return {8, 8, {0, 64}, bitSteps(0, 1, 8), bitSteps(0, 8, 8), 128}; }

TEST(PlaneGraphics, PlanarRowsPutEachPenBitInItsPlane)
{
    PenImage image = blank(16, 8);
    set(image, 2, 5, 3);  // tile 0: both planes
    set(image, 8, 0, 1);  // tile 1, left column: plane 0 only
    set(image, 15, 7, 2); // tile 1, last pixel: plane 1 only
    const std::vector<uint8_t> rom = encodeTiles(image, rowPlanes());
    ASSERT_EQ(rom.size(), 32u);
    std::vector<uint8_t> expected(32, 0);
    expected[5] = 0x20;
    expected[8 + 5] = 0x20;
    expected[16] = 0x80;
    expected[16 + 8 + 7] = 0x01;
    EXPECT_EQ(rom, expected);
}

TEST(PlaneGraphics, PackedNibblesKeepTheLeftPixelHigh)
{
    // Four bits per pixel, the pen's top bit first.
    const PlaneLayout packed{8, 1, {3, 2, 1, 0}, bitSteps(0, 4, 8), {0}, 32};
    PenImage image = blank(8, 1);
    for (int x = 0; x < 8; ++x)
        set(image, x, 0, uint8_t(x + 1));
    EXPECT_EQ(encodeTiles(image, packed), (std::vector<uint8_t>{0x12, 0x34, 0x56, 0x78}));
}

TEST(PlaneGraphics, PlanesInSeparateRegionsReachPastTheTiles)
{
    // Two 8 x 1 tiles, plane 1 in the second half (another chip).
    const PlaneLayout split{8, 1, {0, 16}, bitSteps(0, 1, 8), {0}, 8};
    PenImage image = blank(16, 1);
    set(image, 0, 0, 2);
    set(image, 9, 0, 3);
    EXPECT_EQ(encodeTiles(image, split), (std::vector<uint8_t>{0x00, 0x40, 0x80, 0x40}));
}

TEST(PlaneGraphics, RejectsWhatItCannotEncode)
{
    PenImage tooWide = blank(12, 8);
    EXPECT_THROW(encodeTiles(tooWide, rowPlanes()), std::invalid_argument);
    PenImage pen4 = blank(8, 8);
    set(pen4, 0, 0, 4);
    EXPECT_THROW(encodeTiles(pen4, rowPlanes()), std::invalid_argument);
    PlaneLayout broken = rowPlanes();
    broken.rowBits.pop_back();
    EXPECT_THROW(encodeTiles(blank(8, 8), broken), std::invalid_argument);
    PenImage shortPens = blank(8, 8);
    shortPens.pens.pop_back();
    EXPECT_THROW(encodeTiles(shortPens, rowPlanes()), std::invalid_argument);
}

} // namespace
} // namespace vortastr::testrom
