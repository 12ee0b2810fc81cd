#include "boards/game_catalogue.h"

#include <gtest/gtest.h>

namespace vortastr::test {
namespace {

TEST(Catalogue, RowsByGameId)
{
    struct Case {
        GameId id;
        const char* title;
        const char* code;
        const char* directory;
        CpuKind cpu;
    };
    const Case cases[] = {
        {Tank, "Tank", "ZK", "tank", Cpu6502},
        {CrystalCastles, "Crystal Castles", "CC", "crystalc", Cpu6502},
        {Tutankham, "Tutankham", "TK", "tutankhm", Cpu6809},
        {VortaStrike, "Vorta Strike", "JN", "vorta", Cpu6809},
        {VortaStrikeBootleg, "Vorta Strike Bootleg", nullptr, "vortaboot", Cpu6809},
        {TrackNField, "Track'n'Field", "TF", "trackfld", Cpu6809},
        {JailBreak, "Jail Break", "JB", "jailbrk", Cpu6809},
        {Tazmania, "Tazmania", "TZ", "tazmania", CpuZ80},
        {NewZealandStory, "New Zealand Story", "nz", "NZSTORY", CpuZ80},
        {HeroTonma, "Legend of Hero Tonma", "lh", "loht", CpuV30},
        {UnderCps, nullptr, "uc", "undercps", CpuV30},
    };
    for (const Case& c : cases) {
        const GameInfo* info = gameInfo(c.id);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->id, c.id);
        EXPECT_EQ(info->title ? std::string(info->title) : "", c.title ? std::string(c.title) : "") << c.id;
        EXPECT_EQ(info->code ? std::string(info->code) : "", c.code ? std::string(c.code) : "") << c.id;
        EXPECT_STREQ(info->romDirectory, c.directory);
        EXPECT_EQ(info->cpu, c.cpu) << c.id;
    }
    for (int32_t number = 0; number < kGameCount; ++number)
        EXPECT_EQ(gameInfo(toGameId(number))->id, number);
    EXPECT_EQ(gameInfo(NoGame), nullptr);
    EXPECT_EQ(gameInfo(static_cast<GameId>(39)), nullptr);
    EXPECT_FALSE(gameInfo(Unused5)->hasBoard);
    EXPECT_FALSE(gameInfo(Unused6)->hasBoard);
}

TEST(Catalogue, TitlesAndTheSixteenBitGames)
{
    const char* title = nullptr;
    setGameTitle(UnderCps, title);
    EXPECT_EQ(title, nullptr);
    setGameTitle(Tutankham, title);
    EXPECT_STREQ(title, "Tutankham");
    setGameTitle(Unused5, title);
    setGameTitle(UnderCps, title);
    setGameTitle(static_cast<GameId>(77), title);
    EXPECT_STREQ(title, "Tutankham");

    for (int32_t number = 0; number < kGameCount; ++number) {
        const GameId id = toGameId(number);
        const bool expected =
            id == RTypeJapanese || id == RType || id == RType2 || id == HeroTonma || id == DragonBreed || id == Kengo;
        EXPECT_EQ(needs16BitScreen(id), expected) << id;
        if (expected) {
            EXPECT_EQ(gameInfo(id)->cpu, CpuV30);
        }
    }
    EXPECT_EQ(gameForCommand(0), -1);
    EXPECT_EQ(gameForCommand(40117), 35);
}

} // namespace
} // namespace vortastr::test
