#include "shell/command_line.h"
#include "shell/startup.h"
#include "tests/fakes.h"

#include <gtest/gtest.h>

#include <set>

namespace vortastr::test {
namespace {

TEST(GameLine, CodesAndSwitches)
{
    struct Case {
        const char* line;
        GameId game;
        std::optional<int32_t> fullScreen;
        bool cheat;
    };
    const Case cases[] = {
        {"r1 -fullscreen", RType, 1, false},
        {"JB", JailBreak, std::nullopt, false},
        {"jn", VortaStrike, std::nullopt, false}, // no such code: 9 only as the default
        {"JN", VortaStrike, std::nullopt, false},
        {"-fullscreen -window", VortaStrike, 0, false}, // "-window" wins
        {"-window -fullscreen", VortaStrike, 0, false},
        {"uc", UnderCps, std::nullopt, false},
        {"TKX -cheat", Tutankham, std::nullopt, true},
        {"tk", VortaStrike, std::nullopt, false}, // case-sensitive
        {"J", VortaStrike, std::nullopt, false},
        {"", VortaStrike, std::nullopt, false},
        {" JB", VortaStrike, std::nullopt, false}, // the code must come first
        {"mz -cheat -fullscreen", MegaZone, 1, true},
    };
    for (const Case& c : cases) {
        const GameLineChoice choice = parseGameLine(c.line);
        EXPECT_EQ(choice.game, c.game) << c.line;
        EXPECT_EQ(choice.fullScreen, c.fullScreen) << c.line;
        EXPECT_EQ(choice.cheat, c.cheat) << c.line;
    }
}

TEST(GameLine, EveryCodeStartsItsGameAndGame10HasNone)
{
    std::set<std::string> codes;
    for (const GameInfo& info : gameCatalogue()) {
        if (!info.code)
            continue;
        EXPECT_TRUE(codes.insert(info.code).second) << info.code;
        EXPECT_EQ(parseGameLine(info.code).game, info.id) << info.code;
    }
    EXPECT_EQ(codes.size(), 36u);
    EXPECT_EQ(gameInfo(VortaStrikeBootleg)->code, nullptr);
}

TEST(GameLine, StartUpTakesTheChoiceOverTheStoredSetting)
{
    struct Case {
        const char* line;
        int32_t stored;
        int32_t expected;
    };
    for (const Case c : {Case{"r1 -fullscreen", 0, 1}, Case{"-window", 1, 0}, Case{"", 1, 1}, Case{"", 0, 0}}) {
        Emulator emu;
        MemoryStore store;
        store.values["FullScreen"] = c.stored;
        LaunchOptions options;
        options.gameLine = c.line;
        prepareStartUp(emu, store, options);
        EXPECT_EQ(emu.settings.fullScreenSetting, c.expected) << c.line;
    }
}

TEST(GameLine, R1FullscreenStartsGame28InFullScreen)
{
    StartedEmulator started("r1 -fullscreen");
    EXPECT_EQ(started.emu.run.currentGame, 28);
    EXPECT_TRUE(started.emu.display.fullScreen);
    EXPECT_TRUE(started.host.output.fullScreen);
    EXPECT_EQ(started.host.output.title, "RType I");
    EXPECT_EQ(started.host.cursorCalls, std::vector<bool>{false});

    StartedEmulator windowed("r1 -fullscreen -window");
    EXPECT_FALSE(windowed.emu.display.fullScreen);
}

TEST(GameLine, UcRunsGame38WithNoTitleNameSet)
{
    StartedEmulator started("uc");
    EXPECT_EQ(started.emu.run.currentGame, 38);
    EXPECT_EQ(started.emu.run.titleName, nullptr);
    EXPECT_EQ(started.host.output.title, kInitialWindowCaption);

    StartedEmulator hyper("HS");
    EXPECT_STREQ(hyper.emu.run.titleName, "Hyper Sports");
    EXPECT_EQ(hyper.host.output.title, "Hyper Sports");
}

std::vector<std::string> words(std::initializer_list<const char*> list) { return {list.begin(), list.end()}; }

TEST(LongOptions, ParsedWithValuesEitherWay)
{
    const auto args = words({"JB", "--headless", "--frames", "12", "--snapshot=out.png", "-cheat", "--rompath", "roms",
                             "--config", "a.ini", "--depth=8", "--save-state", "out.state", "--load-state=in.state"});
    const ParseResult r = parseCommandLine(args);
    ASSERT_EQ(r.status, ParseStatus::Run) << r.error;
    EXPECT_EQ(r.options.gameLine, "JB -cheat");
    EXPECT_TRUE(r.options.headless);
    EXPECT_EQ(r.options.frames, 12);
    EXPECT_EQ(r.options.snapshotPath, "out.png");
    EXPECT_EQ(r.options.romPath, "roms");
    EXPECT_EQ(r.options.configPath, "a.ini");
    EXPECT_EQ(r.options.depth, 8);
    EXPECT_EQ(r.options.saveStatePath, "out.state");
    EXPECT_EQ(r.options.loadStatePath, "in.state");

    const ParseResult defaults = parseCommandLine({});
    EXPECT_EQ(defaults.options.depth, 16);
    EXPECT_EQ(defaults.options.romPath, ".");
    EXPECT_EQ(defaults.options.frames, 0);
}

TEST(LongOptions, HelpVersionAndUsageErrors)
{
    struct Case {
        std::vector<std::string> args;
        ParseStatus status;
    };
    const Case cases[] = {
        {words({"--help"}), ParseStatus::Help},
        {words({"--version"}), ParseStatus::Version},
        {words({"--version", "--help"}), ParseStatus::Help},
        {words({"--frames"}), ParseStatus::UsageError},
        {words({"--frames", "0"}), ParseStatus::UsageError},
        {words({"--frames", "-3"}), ParseStatus::UsageError},
        {words({"--frames", "12x"}), ParseStatus::UsageError},
        {words({"--depth", "24"}), ParseStatus::UsageError},
        {words({"--snapshot="}), ParseStatus::UsageError},
        {words({"--save-state"}), ParseStatus::UsageError},
        {words({"--load-state="}), ParseStatus::UsageError},
        {words({"--headless=1"}), ParseStatus::UsageError},
        {words({"--window"}), ParseStatus::UsageError},
        {words({"--screenshots", "d", "--headless"}), ParseStatus::UsageError},
        {words({"-fullscreen", "--depth", "16"}), ParseStatus::Run},
    };
    for (const Case& c : cases) {
        const ParseResult r = parseCommandLine(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[0];
        EXPECT_EQ(r.error.empty(), c.status != ParseStatus::UsageError) << c.args[0];
    }
}

} // namespace
} // namespace vortastr::test
