#include "boards/konami_bitmap/konami_bitmap_video.h"
#include "boards/rom_files.h"
#include "tests/game_fixtures.h"
#include "video/game_palette.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vortastr::test {
namespace {

using namespace konamiBitmap;

TEST(GamePalette, ColourBytesFollowTheResistorWeights)
{
    struct Case {
        uint8_t byte;
        RgbEntry rgb;
    };
    const Case cases[] = {{0xFF, {255, 255, 222, 0}}, {0x07, {255, 0, 0, 0}}, {0x38, {0, 255, 0, 0}},
                          {0xC0, {0, 0, 222, 0}},     {0x00, {0, 0, 0, 0}},   {0x49, {0x21, 0x21, 0x47, 0}}};
    for (const Case& c : cases) {
        const RgbEntry e = decodeColourByte(c.byte);
        EXPECT_EQ(e.red, c.rgb.red) << int(c.byte);
        EXPECT_EQ(e.green, c.rgb.green) << int(c.byte);
        EXPECT_EQ(e.blue, c.rgb.blue) << int(c.byte);
    }
    RgbBank bank{};
    const uint8_t bytes[] = {0x07, 0x38};
    decodeColourBytes(bytes, 2, bank);
    EXPECT_EQ(bank[1].green, 255);
    EXPECT_EQ(bank[1].flags, 1);
    EXPECT_EQ(bank[2].flags, 0);
}

TEST(GamePalette, AMissingColourFileChangesNothing)
{
    RgbBank bank{};
    bank[3] = {1, 2, 3, 0};
    loadColourFile("/nonexistent/default.clr", 32, bank);
    EXPECT_EQ(bank[3].red, 1);
}

TEST(GamePalette, ColourFilesAreReadBelowTheRomFolder)
{
    TempFolder folder;
    writeFile(folder.path() / "DEFAULT.CLR", {0x00, 0x07, 0x38});
    writeFile(folder.path() / "scramble" / "scramble.clr", {0xC0});
    romFiles().romPath = folder.str();
    StartedEmulator s("", 16);
    initGamePalette(Tank, s.emu.display, s.emu.colours, readRomBytes);
    EXPECT_EQ(s.emu.colours.rgb[0][1].red, 255);
    EXPECT_EQ(s.emu.colours.rgb[0][2].green, 255);
    EXPECT_EQ(s.emu.colours.colourLookup, colourLookupOf(Tank).data());
    initGamePalette(Scramble, s.emu.display, s.emu.colours, readRomBytes);
    EXPECT_EQ(s.emu.colours.rgb[0][0].blue, 222);
    EXPECT_EQ(s.emu.colours.rgb[0][1].red, 255); // past the file's end: as it was
    romFiles().romPath = ".";
}

TEST(GamePalette, LookupTablesHoldTheirKnownRows)
{
    EXPECT_EQ(colourLookupOf(TrackNField)[1 * 64 + 4], 14); // Track'n'Field group 1 pen 4
    EXPECT_EQ(colourLookupOf(TrackNField)[2 * 64 + 14], 1);
    const uint8_t defaultGroup1[16] = {0, 5, 6, 7, 4, 5, 6, 7, 4, 5, 6, 7, 4, 5, 6, 7};
    EXPECT_EQ(std::memcmp(colourLookupOf(Tank).data() + 64, defaultGroup1, 16), 0);
    for (int p = 0; p < 16; ++p)
        EXPECT_EQ(colourLookupOf(VortaStrike)[std::size_t(p)], p);
    EXPECT_EQ(colourLookupOf(RType)[3 * 64 + 0], 0); // the generated Irem table
    EXPECT_EQ(colourLookupOf(RType)[3 * 64 + 5], 53);
}

TEST(GamePalette, VortaStrikeEntryFiveIsFollowedInEightBitModeOnlyWithCycling)
{
    StartedEmulator s("JN", 8);
    Emulator& emu = s.emu;
    ASSERT_TRUE(emu.display.paletted);
    initGamePalette(VortaStrike, emu.display, emu.colours, nullptr);
    paletteRecords() = PaletteRecords{};
    std::vector<uint8_t> memory(0x20000, 0);
    const uint32_t before = emu.display.screen.palette()[16 + 5];
    EXPECT_EQ(before, 0xFF000000u | (0xDEu << 16) | (0xFFu << 8)); // start-up byte 0x3E
    memory[0x8005] = 0x07;
    syncPaletteRam(VortaStrike, emu.display, emu.colours, memory.data(), false);
    EXPECT_EQ(emu.display.screen.palette()[16 + 5], before);
    syncPaletteRam(VortaStrike, emu.display, emu.colours, memory.data(), true);
    EXPECT_EQ(emu.display.screen.palette()[16 + 5], 0xFFFF0000u);
    // In 16-bit mode every entry is followed.
    StartedEmulator wide("JN", 16);
    initGamePalette(VortaStrike, wide.emu.display, wide.emu.colours, nullptr);
    paletteRecords() = PaletteRecords{};
    syncPaletteRam(VortaStrike, wide.emu.display, wide.emu.colours, memory.data(), false);
    EXPECT_EQ(wide.emu.colours.colour16[0][5], 0xF800);
    paletteRecords() = PaletteRecords{};
}

TEST(BitmapRenderers, VortaStrikeByteZeroColoursTheBottomOfColumnZero)
{
    StartedEmulator s("JN", 8);
    ScreenSurface screen(256, 256, PixelFormat::Indexed8);
    std::vector<uint8_t> ram(0x8000, 0);
    ram[0] = 0x3A;             // line 0, byte 0
    ram[5 * 128 + 127] = 0x41; // line 5, byte 127: rows 1 and 0
    renderVortaStrike(screen, s.emu.colours, ram.data());
    auto at = [&](int x, int y) { return screen.pixels()[std::size_t(y) * 256 + std::size_t(x)]; };
    EXPECT_EQ(at(0, 255), 16 + 0xA);
    EXPECT_EQ(at(0, 254), 16 + 0x3);
    EXPECT_EQ(at(5, 1), 16 + 1);
    EXPECT_EQ(at(5, 0), 16 + 4);
    EXPECT_EQ(at(1, 255), 16);

    ScreenSurface wide(256, 256, PixelFormat::Rgb565);
    ColourTables colours;
    colours.colour16[0][0xA] = 0x1234;
    renderVortaStrike(wide, colours, ram.data());
    uint16_t pixel;
    std::memcpy(&pixel, wide.pixels() + 255 * wide.pitch(), 2);
    EXPECT_EQ(pixel, 0x1234);
}

TEST(BitmapRenderers, TutankhamScrollsThePlayfieldAndKeepsTheStatusArea)
{
    StartedEmulator s("TK", 8);
    ScreenSurface screen(256, 256, PixelFormat::Indexed8);
    std::vector<uint8_t> ram(0x8000, 0);
    ram[10 * 128 + 0] = 0x21;  // playfield: line 10, rows 255 and 254
    ram[10 * 128 + 96] = 0x43; // status: byte 96 of line 10 at column 10, rows 63 and 62
    renderTutankham(screen, s.emu.colours, ram.data(), 4);
    auto at = [&](int x, int y) { return screen.pixels()[std::size_t(y) * 256 + std::size_t(x)]; };
    EXPECT_EQ(at(5, 255), 16 + 1); // (10 - 4 - 1)
    EXPECT_EQ(at(5, 254), 16 + 2);
    EXPECT_EQ(at(10, 63), 16 + 3);
    EXPECT_EQ(at(10, 62), 16 + 4);
    renderTutankham(screen, s.emu.colours, ram.data(), 20);
    EXPECT_EQ(at(245, 255), 16 + 1); // wraps: (10 - 20 - 1) mod 256
    EXPECT_EQ(at(10, 63), 16 + 3);
}

TEST(BitmapRenderers, ASmallerScreenIsNeverWrittenPastItsEnd)
{
    StartedEmulator s("JN", 16);
    ScreenSurface screen(100, 50, PixelFormat::Rgb565);
    std::vector<uint8_t> ram(0x8000, 0xFF);
    renderVortaStrike(screen, s.emu.colours, ram.data());
    renderTutankham(screen, s.emu.colours, ram.data(), 7);
    SUCCEED(); // the sanitizers watch the writes
}

} // namespace
} // namespace vortastr::test
