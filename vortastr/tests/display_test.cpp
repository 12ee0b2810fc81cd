#include "tests/fakes.h"
#include "video/colour_tables.h"
#include "video/display_state.h"

#include <gtest/gtest.h>

namespace vortastr::test {
namespace {

TEST(ColourTranslation, ReductionTo565)
{
    const PixelLayout rgb565 = pixelLayoutOf(PixelFormat::Rgb565);
    struct Case {
        uint8_t r, g, b;
        uint16_t expected;
    };
    const Case cases[] = {
        {255, 255, 255, 0xFFFF}, {8, 4, 8, 0x0821},   {0, 0, 0, 0x0000},   {7, 3, 7, 0x0000},
        {255, 0, 0, 0xF800},     {0, 255, 0, 0x07E0}, {0, 0, 255, 0x001F}, {128, 128, 128, 0x8410},
    };
    for (const Case& c : cases)
        EXPECT_EQ(colour16Of(c.r, c.g, c.b, rgb565), c.expected) << int(c.r) << "," << int(c.g) << "," << int(c.b);

    // A 5-5-5 layout divides every component by 8.
    const PixelLayout rgb555{16, 0x7C00, 0x03E0, 0x001F, false};
    EXPECT_EQ(colour16Of(255, 255, 255, rgb555), 0x7FFF);
    EXPECT_EQ(colour16Of(8, 8, 8, rgb555), 0x0421);
}

TEST(ColourTranslation, EightBitColoursLandInEntries16To79)
{
    StartedEmulator started("", 8);
    DisplayState& display = started.emu.display;
    ColourTables& tables = started.emu.colours;
    ASSERT_TRUE(display.paletted);
    RgbBank rgb{};
    rgb[5] = {10, 20, 30, 0};
    rgb[63] = {1, 2, 3, 0};
    paletteUpload(display, tables, nullptr, rgb);
    EXPECT_EQ(tables.index8[0], 0);
    EXPECT_EQ(tables.index8[5], 21);
    EXPECT_EQ(tables.index8[63], 79);
    EXPECT_EQ(display.screen.palette()[21], 0xFF0A141Eu);
    EXPECT_EQ(display.screen.palette()[79], 0xFF010203u);
    EXPECT_EQ(display.screen.palette()[0], 0xFF000000u);   // colour 0 stays the desktop's black
    EXPECT_EQ(display.screen.palette()[255], 0xFFFFFFFFu); // static colours kept
    EXPECT_EQ(tables.rgb[0][5].flags, kReservedEntryFlag);

    paletteSetFromByte(display, tables, VortaStrike, 6, 0x07, [](GameId, uint8_t) { return RgbEntry{255, 0, 0, 0}; });
    EXPECT_EQ(display.screen.palette()[22], 0xFFFF0000u);
    EXPECT_EQ(tables.index8[6], 22);
    // An index whose hardware entry would pass 255 changes the logical colour only.
    paletteSetFromByte(display, tables, VortaStrike, 250, 0x07, [](GameId, uint8_t) { return RgbEntry{1, 1, 1, 0}; });
    EXPECT_EQ(tables.rgb[0][250].red, 1);
    EXPECT_EQ(display.screen.palette()[10], 0xFF000000u);
}

TEST(ColourTranslation, SixteenBitTablesPerBankWithEntryZeroForced)
{
    StartedEmulator started;
    DisplayState& display = started.emu.display;
    ColourTables& tables = started.emu.colours;
    RgbBank rgb{};
    rgb.fill({255, 255, 255, 0});
    rgb[1] = {8, 4, 8, 0};
    paletteUpload(display, tables, nullptr, rgb);
    EXPECT_EQ(tables.colour16[0][0], 0); // forced after the rebuild
    EXPECT_EQ(tables.colour16[0][1], 0x0821);
    EXPECT_EQ(tables.colour16[0][2], 0xFFFF);
    EXPECT_EQ(tables.index8[7], 7);

    paletteSetRgb(display, tables, 0, 255, 255, 255); // a single entry is not forced
    EXPECT_EQ(tables.colour16[0][0], 0xFFFF);

    selectPaletteBank(tables, 1);
    paletteSetRgb(display, tables, 3, 0, 0, 255);
    EXPECT_EQ(tables.colour16[1][3], 0x001F);
    EXPECT_EQ(tables.colour16[0][3], 0xFFFF);
    paletteSetFromByte(display, tables, VortaStrike, 4, 0xC0, [](GameId, uint8_t byte) {
        return RgbEntry{byte, 0, 0, 0};
    });
    EXPECT_EQ(tables.colour16[1][4], 0xC000);
    paletteSetRgb(display, tables, 256, 1, 1, 1); // out of range: ignored
}

TEST(FullScreenMode, ScanPrefers400x300WhereverListed)
{
    struct Case {
        std::vector<DisplayMode> modes;
        int expected;
        bool is400x300;
    };
    const Case cases[] = {
        {{{512, 384, 16}, {400, 300, 16}}, 1, true},
        {{{640, 400, 16}, {800, 600, 16}, {400, 300, 16}}, 2, true},
        {{{400, 300, 8}, {640, 400, 16}, {512, 384, 16}}, 1, false},
        {{{640, 480, 16}, {512, 384, 16}}, 1, false},
        {{{640, 480, 16}, {800, 600, 16}, {400, 300, 32}}, -1, false},
        {{}, -1, false},
    };
    for (const Case& c : cases) {
        bool is400 = !c.is400x300;
        EXPECT_EQ(chooseFullScreenMode(c.modes, &is400), c.expected);
        EXPECT_EQ(is400, c.is400x300);
    }
    EXPECT_EQ(chooseFullScreenMode(virtualDisplayModes()), 3);
}

TEST(FullScreenMode, ModesPastTheFiftiethAreNotStored)
{
    FakeOutput output;
    output.modes.assign(50, DisplayMode{640, 480, 16});
    output.modes.push_back({400, 300, 16});
    output.modes.push_back({512, 384, 16});
    DisplayState display;
    displayInitFullScreen(display, output);
    EXPECT_EQ(display.modeCount, 50);
    EXPECT_EQ(display.modeIndex, -1);
    EXPECT_EQ(displayCreateSurfaces(display, 1, 1), -1);
}

TEST(FullScreenMode, GameDrawsTopLeftOfA400x300BackBuffer)
{
    FakeOutput output;
    DisplayState display;
    displayInitFullScreen(display, output);
    ASSERT_EQ(displayCreateSurfaces(display, 2, 2), 0);
    EXPECT_TRUE(display.mode400x300);
    EXPECT_TRUE(output.fullScreen);
    EXPECT_EQ(display.screen.width(), 400);
    EXPECT_EQ(display.screen.height(), 300);
    EXPECT_EQ(display.destRect, (Rect{0, 0, 400, 300}));
    displaySetScreenSize(display, 256, 224, 1, 1); // the window size of a game means nothing here
    EXPECT_EQ(display.screen.width(), 400);
    displaySetWindowScale(display, 3, 3);
    EXPECT_EQ(output.client, (Rect{0, 0, 400, 300}));
}

TEST(WindowedDisplay, ScaleResizesTheClientAreaAndIsStored)
{
    StartedEmulator started;
    DisplayState& display = started.emu.display;
    FakeOutput& output = started.host.output;
    EXPECT_EQ(display.screen.width(), 256);
    EXPECT_EQ(output.client.width(), 256);
    for (int scale : {2, 3, 1}) {
        displaySetWindowScale(display, scale, scale);
        EXPECT_EQ(output.client.width(), 256 * scale);
        EXPECT_EQ(output.client.height(), 256 * scale);
        EXPECT_EQ(display.destRect, output.client);
        EXPECT_EQ(started.emu.settings.windowScaleX, scale);
        EXPECT_EQ(started.emu.settings.windowScaleY, scale);
    }
    displaySetScreenSize(display, 256, 224, 2, 2);
    EXPECT_EQ(display.screen.height(), 224);
    EXPECT_EQ(display.sourceRect, (Rect{0, 0, 256, 224}));
    EXPECT_EQ(output.client.height(), 448);
}

TEST(WindowedDisplay, StoredScalesOutsideTheMenusRangeStillGiveAWindow)
{
    for (int stored : {0, -4, 9}) {
        FakeOutput output;
        DisplayState display;
        displayInitWindowed(display, output);
        ASSERT_EQ(displayCreateSurfaces(display, stored, stored), 0);
        EXPECT_GE(output.client.width(), 256);
        EXPECT_LE(output.client.width(), 768);
    }
}

TEST(WindowedDisplay, PresentCopiesTheScreenUnlessSuspended)
{
    StartedEmulator started;
    DisplayState& display = started.emu.display;
    display.screen.fill(0x1234);
    display.suspended = true;
    displayPresent(display);
    EXPECT_FALSE(display.hasPresented);
    display.suspended = false;
    displayPresent(display);
    ASSERT_TRUE(display.hasPresented);
    EXPECT_EQ(display.presented.argbAt(10, 10), display.screen.argbAt(10, 10));
    displayClear(display);
    EXPECT_EQ(display.presented.argbAt(10, 10), 0xFF000000u);
    EXPECT_EQ(display.screen.argbAt(10, 10), 0xFF000000u);
}

TEST(ScreenSurface, PixelsThroughPaletteOrWidened)
{
    ScreenSurface indexed(4, 2, PixelFormat::Indexed8);
    indexed.palette()[21] = 0xFF102030u;
    indexed.pixels()[5] = 21;
    EXPECT_EQ(indexed.argbAt(1, 1), 0xFF102030u);
    EXPECT_EQ(indexed.argbAt(4, 0), 0u); // outside

    ScreenSurface direct(2, 2, PixelFormat::Rgb565);
    direct.fill(0xFFFF);
    EXPECT_EQ(direct.argbAt(1, 1), 0xFFFFFFFFu);
    direct.fill(0x0821);
    EXPECT_EQ(direct.argbAt(0, 0), 0xFF080408u);
    EXPECT_EQ(direct.toArgb().size(), 4u);
}

} // namespace
} // namespace vortastr::test
