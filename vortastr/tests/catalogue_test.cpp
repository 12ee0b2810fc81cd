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
        {0, "Tank", "ZK", "tank", Cpu6502},          {3, "Crystal Castles", "CC", "crystalc", Cpu6502},
        {8, "Tutankham", "TK", "tutankhm", Cpu6809}, {9, "Vorta Strike", "JN", "vorta", Cpu6809},
        {10, "Vorta Strike Bootleg", nullptr, "vortaboot", Cpu6809},
        {14, "Track'n'Field", "TF", "trackfld", Cpu6809}, {18, "Jail Break", "JB", "jailbrk", Cpu6809},
        {20, "Tazmania", "TZ", "tazmania", CpuZ80},  {34, "New Zealand Story", "nz", "NZSTORY", CpuZ80},
        {35, "Legend of Hero Tonma", "lh", "loht", CpuV30}, {38, nullptr, "uc", "undercps", CpuV30},
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
    for (GameId id = 0; id < kGameCount; ++id)
        EXPECT_EQ(gameInfo(id)->id, id);
    EXPECT_EQ(gameInfo(-1), nullptr);
    EXPECT_EQ(gameInfo(39), nullptr);
    EXPECT_FALSE(gameInfo(5)->hasBoard);
    EXPECT_FALSE(gameInfo(6)->hasBoard);
}

TEST(Catalogue, TitlesAndTheSixteenBitGames)
{
    const char* title = nullptr;
    setGameTitle(38, title);
    EXPECT_EQ(title, nullptr);
    setGameTitle(8, title);
    EXPECT_STREQ(title, "Tutankham");
    setGameTitle(5, title);
    setGameTitle(38, title);
    setGameTitle(77, title);
    EXPECT_STREQ(title, "Tutankham");

    for (GameId id = 0; id < kGameCount; ++id) {
        const bool expected = id == 27 || id == 28 || id == 29 || id == 35 || id == 36 || id == 37;
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
