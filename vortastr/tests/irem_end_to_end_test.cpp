// The Irem test ROM sets run through the whole emulator, headless: the picture against the
// reference computed from the ROMs, the same picture every run, the "aud" files of RType, a
// missing or short program file, and every game of the family starting from a blank set.
#include "boards/board.h"
#include "boards/irem/irem_test_set.h"
#include "shell/startup.h"
#include "tests/game_fixtures.h"
#include "tests/irem_reference.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace vortastr::test {
namespace {

struct IremEndToEnd : ::testing::Test {
    TempFolder folder;
    testrom::RomFiles rtype = irem::testset::buildRTypeSet(assembledIremProgram("rtype.bin"));
    testrom::RomFiles rtype2 = irem::testset::buildRType2Set(assembledIremProgram("rtype2.bin"));

    void write(const std::string& game, const testrom::RomFiles& files)
    {
        std::string error;
        ASSERT_TRUE(testrom::writeRomFiles(folder.str(), game, files, error)) << error;
    }

    // The presented picture after `frames` frames of a headless run.
    std::vector<uint8_t> run(const std::string& code, const std::string& script, int frames)
    {
        const HeadlessRun whole = runHeadless(folder.str(), code, script, frames);
        EXPECT_EQ(whole.status, 0);
        EXPECT_FALSE(whole.messages);
        EXPECT_EQ(whole.width, 512);
        return whole.picture;
    }

    void expectPicture(RunningGame& game, bool rtype2)
    {
        const ScreenSurface& screen = game.emu().display.presented;
        ASSERT_EQ(screen.width(), 512);
        ASSERT_EQ(screen.height(), 256);
        const IremProgramState state = readIremProgramState(board().data(), rtype2);
        std::string report;
        EXPECT_EQ(countWrongPixels(screen, expectedIremPicture(rtype2 ? rtype2Set() : rtype, state), report), 0)
            << report;
    }
    const testrom::RomFiles& rtype2Set() const { return rtype2; }
};

TEST_F(IremEndToEnd, RTypeShowsLayersSpritesAndPalettesAsTheRomsSay)
{
    write("rtype", rtype);
    RunningGame game(folder.str(), "r1");
    ASSERT_EQ(game.result, FrameLoopResult::Quit);
    game.loop.unpaced = true;
    std::string error;
    game.loop.script = parseInputScript("30:Right+Up,60:-", error);
    game.frames(20);
    expectPicture(game, false);
    game.frames(150); // the second layer's copy splits on both axes, the first wraps in x
    const IremProgramState state = readIremProgramState(board().data(), false);
    EXPECT_EQ(state.spriteW3, irem::testset::kSpriteStartX + 256 + 30 * irem::testset::kSpriteStep);
    expectPicture(game, false);
}

TEST_F(IremEndToEnd, RTypeIIShowsItsBandsAndSpritesOverBothLayers)
{
    write("rtype2", rtype2);
    RunningGame game(folder.str(), "r2");
    ASSERT_EQ(game.result, FrameLoopResult::Quit);
    game.loop.unpaced = true;
    std::string error;
    game.loop.script = parseInputScript("20:Left+Down,70:-", error);
    game.frames(120);
    expectPicture(game, true);
}

TEST_F(IremEndToEnd, AFixedScriptGivesTheSamePictureEveryRun)
{
    write("rtype", rtype);
    write("rtype2", rtype2);
    const std::string script = "15:Right,40:Up+Ctrl,60:-";
    const auto first = run("r1", script, 90);
    EXPECT_EQ(run("r1", script, 90), first);
    EXPECT_NE(run("r1", "15:Left,60:-", 90), first); // keys released: the next run starts clean
    const auto second = run("r2", script, 90);
    EXPECT_EQ(run("r2", script, 90), second);
}

TEST_F(IremEndToEnd, RTypeRunsFromTheAudFilesWhenTheCn3FilesAreMissing)
{
    write("rtype", rtype);
    const auto fromCn3 = run("r1", "10:Down", 40);
    // The same program and sprites under the other set's names.
    testrom::RomFiles renamed;
    for (const auto& [name, bytes] : rtype) {
        std::string other = name;
        if (name.rfind("cn3_l", 0) == 0 || name.rfind("cn3_h", 0) == 0)
            other = "aud-" + name.substr(4);
        else if (name.rfind("cn3_", 0) == 0)
            other = "cpu-" + name.substr(4);
        renamed[other] = bytes;
    }
    std::filesystem::remove_all(folder.path() / "rtype");
    write("rtype", renamed);
    EXPECT_EQ(run("r1", "10:Down", 40), fromCn3);
}

TEST_F(IremEndToEnd, AMissingOrShortProgramFileStopsTheGame)
{
    for (const bool shortFile : {false, true}) {
        std::filesystem::remove_all(folder.path() / "rtype");
        write("rtype", rtype);
        const auto file = folder.path() / "rtype" / "cn3_h1.bin";
        if (shortFile)
            std::filesystem::resize_file(file, 1000);
        else
            std::filesystem::remove(file);
        Emulator emu;
        FakeHost host;
        MemoryStore store;
        LaunchOptions options;
        options.gameLine = "r1";
        options.romPath = folder.str();
        options.frames = 5;
        options.unpaced = true;
        EXPECT_EQ(runEmulator(emu, host, store, options), 1) << shortFile;
        ASSERT_FALSE(host.messages.empty());
        EXPECT_EQ(host.messages.back().text, "ERROR - Can't find Game ROMs") << shortFile;
    }
}

TEST_F(IremEndToEnd, EveryGameOfTheFamilyStartsAndRunsFromABlankSet)
{
    const std::pair<const char*, GameId> games[] = {
        {"rj", RTypeJapanese}, {"r1", RType},     {"r2", RType2},      {"r3", RTypeLeo}, {"mt", MasterT},
        {"it", InTheHunt},     {"lh", HeroTonma}, {"db", DragonBreed}, {"kg", Kengo},    {"uc", UnderCps}};
    for (const auto& [code, game] : games) {
        TempFolder blank;
        writeBlankRomSet(blank, game);
        RunningGame running(blank.str(), code);
        ASSERT_EQ(running.result, FrameLoopResult::Quit) << code;
        running.loop.unpaced = true;
        running.frames(3);
        EXPECT_EQ(board().game, game) << code;
        EXPECT_EQ(board().kind, CpuV30) << code;
        EXPECT_EQ(running.emu().display.presented.width(), 512) << code;
    }
}

} // namespace
} // namespace vortastr::test
