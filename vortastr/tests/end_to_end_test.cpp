// The generated test ROM set run through the whole emulator, headless.
#include "boards/board.h"
#include "boards/konami_bitmap/testrom/vorta_test_set.h"
#include "shell/startup.h"
#include "tests/game_fixtures.h"
#include "video/game_palette.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace vortastr::test {
namespace {

struct EndToEnd : ::testing::Test {
    TempFolder folder;
    void SetUp() override { writeTestRomSet(folder); }

    // The last presented picture of a whole run.
    std::vector<uint8_t> run(const std::string& script, int frames)
    {
        const HeadlessRun run = runHeadless(folder.str(), "JN", script, frames);
        EXPECT_EQ(run.status, 0);
        EXPECT_FALSE(run.messages);
        EXPECT_EQ(run.width, 256);
        return run.picture;
    }
};

TEST_F(EndToEnd, AFixedScriptGivesTheSamePictureEveryTime)
{
    const std::string script = "30:Right,90:Right+Up,150:Ctrl,170:-";
    const auto first = run(script, 200);
    EXPECT_EQ(run(script, 200), first);
    EXPECT_NE(run("30:Left", 200), first);
}

uint16_t pixel(const ScreenSurface& screen, int x, int y)
{
    uint16_t value;
    std::memcpy(&value, screen.pixels() + std::size_t(y) * std::size_t(screen.pitch()) + 2 * std::size_t(x), 2);
    return value;
}

TEST_F(EndToEnd, TheObjectFollowsTheScriptedKeysAndTheBanksShow)
{
    RunningGame game(folder.str(), "JN");
    ASSERT_EQ(game.result, FrameLoopResult::Quit);
    game.loop.unpaced = true;
    std::string error;
    game.loop.script = parseInputScript("20:Right,80:Up,140:-", error);
    const uint8_t* memory = board().data();
    game.frames(19);
    EXPECT_EQ(memory[testrom::kObjectXAddress], testrom::kObjectStartX);
    EXPECT_EQ(memory[testrom::kObjectRowAddress], testrom::kObjectStartRow);
    game.frames(61);
    const int movedRight = memory[testrom::kObjectXAddress] - testrom::kObjectStartX;
    EXPECT_GE(movedRight, 28); // one line per update, an update per interrupt (30 a second)
    EXPECT_LE(movedRight, 31);
    game.frames(80);
    EXPECT_EQ(memory[testrom::kObjectXAddress] - testrom::kObjectStartX, movedRight);
    EXPECT_GE(memory[testrom::kObjectRowAddress] - testrom::kObjectStartRow, 56);

    // The picture: the title, the object where the program keeps it, the bank's marker and colour.
    const ScreenSurface& screen = game.emu().display.presented;
    const ColourTables& colours = game.emu().colours;
    const uint16_t background = colours.colour16[0][0];
    int titlePixels = 0;
    for (int y = 16; y < 32; ++y)
        for (int x = 40; x < 216; ++x)
            titlePixels += pixel(screen, x, y) != background;
    EXPECT_GT(titlePixels, 200);

    const int objectX = memory[testrom::kObjectXAddress];
    const int objectTop = 255 - memory[testrom::kObjectRowAddress] - 15; // byte k holds rows 255 - 2k
    const uint8_t bank = memory[testrom::kBankAddress];
    ASSERT_LT(bank, 4);
    EXPECT_EQ(pixel(screen, objectX + 8, objectTop + 8), colours.colour16[0][3]);
    const RgbEntry bankColour = decodeColourByte(testrom::kBankColours[bank]);
    EXPECT_EQ(colours.colour16[0][3],
              colour16Of(bankColour.red, bankColour.green, bankColour.blue, game.emu().display.pixelFormat));
    EXPECT_EQ(pixel(screen, testrom::kMarkerFirstLine + 3, 250), colours.colour16[0][4 + bank]);
}

TEST_F(EndToEnd, TheBootlegRunsItsOwnProgramWithTheOriginalsBanks)
{
    // The bootleg's program files are the test program; banks and blitter come from "vorta".
    std::filesystem::create_directories(folder.path() / "vortaboot");
    const char* names[][2] = {{"VSA_B9.BIN", "VSGA.CPU"}, {"VSB_B10.BIN", "VSGB.CPU"}, {"VSC_A10.BIN", "VSGC.CPU"}};
    for (const auto& [original, bootleg] : names)
        std::filesystem::copy_file(folder.path() / "vorta" / original, folder.path() / "vortaboot" / bootleg);
    RunningGame game(folder.str(), "");
    game.emu().run.requestedGame = VortaStrikeBootleg;
    game.emu().run.pendingAction = ActionChangeGame;
    game.loop.unpaced = true;
    std::string error;
    game.loop.script = parseInputScript("5:Left", error);
    game.frames(60);
    ASSERT_EQ(board().game, 10);
    EXPECT_TRUE(game.host().messages.empty());
    EXPECT_LT(board().data()[testrom::kObjectXAddress], testrom::kObjectStartX - 20);
    EXPECT_EQ(game.emu().display.title.rfind("Vorta Strike Bootleg", 0), 0u);
}

TEST_F(EndToEnd, EightBitScreensKeepTheGamesPaletteAfterTheScreenIsSized)
{
    RunningGame game(folder.str(), "JN", 8);
    game.loop.unpaced = true;
    game.frames(20);
    const ScreenSurface& screen = game.emu().display.presented;
    ASSERT_EQ(screen.format(), PixelFormat::Indexed8);
    const RgbEntry pen1 = decodeColourByte(0xE8); // start-up colour of pen 1, the title's
    EXPECT_EQ(screen.palette()[17], 0xFF000000u | uint32_t(pen1.red) << 16 | uint32_t(pen1.green) << 8 | pen1.blue);
    int titlePixels = 0;
    for (int y = 16; y < 32; ++y)
        for (int x = 40; x < 216; ++x)
            titlePixels += screen.pixels()[std::size_t(y) * 256 + std::size_t(x)] == 17;
    EXPECT_GT(titlePixels, 200);
}

} // namespace
} // namespace vortastr::test
