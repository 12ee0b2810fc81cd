// High-score files on plain memory images of every game that has one, and end to end on the
// generated "Vorta Strike" and Rock'n'Rope sets.
#include "boards/board.h"
#include "boards/file_commit.h"
#include "boards/high_scores.h"
#include "boards/konami_bitmap/testrom/vorta_test_set.h"
#include "boards/konami_tile/tile_test_sets.h"
#include "boards/rom_files.h"
#include "tests/game_fixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace vortastr::test {
namespace {

namespace fs = std::filesystem;
using suite::test::readFile;

struct HighScores : ::testing::Test {
    TempFolder folder;
    std::vector<std::string> notes;
    void SetUp() override
    {
        romFiles().romPath = folder.str();
        highScores() = HighScoreState{};
        highScores().note = [this](const std::string& text) { notes.push_back(text); };
    }
    void TearDown() override
    {
        romFiles().romPath = ".";
        highScores() = HighScoreState{};
        commitFileFailAfterBytes = -1;
    }
    fs::path fileOf(GameId game) { return romFile(folder, highScoreFile(game)->name); }
    static std::vector<uint8_t> memoryFor(GameId game)
    {
        return std::vector<uint8_t>(highScoreFile(game)->address > 0xFFFF ? 0x100000 : 0x20000, 0);
    }
    static void putMarkers(GameId game, std::vector<uint8_t>& memory)
    {
        for (const HighScoreMarker& marker : highScoreFile(game)->markers)
            std::copy(marker.bytes.begin(), marker.bytes.end(), memory.begin() + marker.address);
    }
    static std::vector<uint8_t> pattern(std::size_t count, uint8_t seed)
    {
        std::vector<uint8_t> bytes(count);
        for (std::size_t i = 0; i < count; ++i)
            bytes[i] = uint8_t(seed + 7 * i);
        return bytes;
    }
};

struct TableRow {
    GameId game;
    uint32_t bytes, address;
    bool hasMarkers, readAtInstall;
};
constexpr TableRow kTable[] = {
    {Tutankham, 72, 0x88A0, true, false},       {VortaStrike, 168, 0x8100, true, false},
    {TrackNField, 1024, 0x2C00, false, false},  {HyperSports, 2048, 0x3800, false, false},
    {RockNRope, 64, 0x5160, true, true},        {CircusCharlie, 50, 0x2160, true, true},
    {CircusCharlie2, 50, 0x2160, true, true},   {WhizQuiz, 1024, 0x2C00, false, false},
    {RTypeJapanese, 115, 0x42F4D, true, false}, {RType, 115, 0x42F4D, true, false},
    {RType2, 130, 0xE3834, true, false},
};

TEST_F(HighScores, EveryGameInstallsItsFileOnlyOnceItsMarkersStandAndWritesItBack)
{
    int games = 0;
    for (const TableRow& row : kTable) {
        SCOPED_TRACE(row.game);
        const HighScoreFile* file = highScoreFile(row.game);
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(file->bytes, row.bytes);
        EXPECT_EQ(file->address, row.address);
        EXPECT_EQ(file->readAtInstall, row.readAtInstall);
        ++games;

        const std::vector<uint8_t> saved = pattern(row.bytes, uint8_t(row.game));
        writeFile(fileOf(row.game), saved);
        std::vector<uint8_t> memory = memoryFor(row.game);
        loadHighScores(row.game);
        EXPECT_TRUE(highScores().pending);
        EXPECT_FALSE(highScores().saveAllowed);
        if (row.hasMarkers) {
            installHighScores(row.game, memory); // the game's own table is not there yet
            EXPECT_TRUE(highScores().pending);
            EXPECT_TRUE(std::all_of(memory.begin() + row.address, memory.begin() + row.address + row.bytes,
                                    [](uint8_t b) { return b == 0; }));
            EXPECT_TRUE(saveHighScores(row.game, memory));
            EXPECT_EQ(readFile(fileOf(row.game)), saved) << "nothing is written before installation";
            putMarkers(row.game, memory);
        }
        installHighScores(row.game, memory);
        EXPECT_FALSE(highScores().pending);
        EXPECT_TRUE(highScores().saveAllowed);
        EXPECT_TRUE(std::equal(saved.begin(), saved.end(), memory.begin() + row.address));

        memory[row.address] ^= 0xFF; // a new score
        ASSERT_TRUE(saveHighScores(row.game, memory));
        const std::vector<uint8_t> written = readFile(fileOf(row.game));
        ASSERT_EQ(written.size(), row.bytes);
        EXPECT_EQ(written[0], uint8_t(saved[0] ^ 0xFF));
    }
    EXPECT_EQ(games, 11);
    EXPECT_EQ(highScoreFile(VortaStrikeBootleg), nullptr);
    EXPECT_TRUE(notes.empty());
}

TEST_F(HighScores, WithoutAFileOnlyTheGamesThatReadAtInstallationNeverWriteOne)
{
    for (const TableRow& row : kTable) {
        SCOPED_TRACE(row.game);
        fs::create_directories(fileOf(row.game).parent_path()); // the game's ROM folder
        std::vector<uint8_t> memory = memoryFor(row.game);
        loadHighScores(row.game);
        EXPECT_EQ(highScores().pending, row.readAtInstall);
        putMarkers(row.game, memory);
        for (int slice = 0; slice < 3; ++slice)
            installHighScores(row.game, memory);
        EXPECT_FALSE(highScores().pending);
        ASSERT_TRUE(saveHighScores(row.game, memory));
        EXPECT_EQ(fs::exists(fileOf(row.game)), !row.readAtInstall);
    }
}

TEST_F(HighScores, AShortFileIsNotInstalledAndALongerOneGivesItsFirstBytes)
{
    for (GameId game : {VortaStrike, CircusCharlie}) {
        SCOPED_TRACE(game);
        const HighScoreFile& file = *highScoreFile(game);
        writeFile(fileOf(game), pattern(file.bytes - 1, 3));
        std::vector<uint8_t> memory = memoryFor(game);
        putMarkers(game, memory);
        const std::vector<uint8_t> before = memory;
        loadHighScores(game);
        installHighScores(game, memory);
        EXPECT_EQ(memory, before);
        EXPECT_FALSE(highScores().pending);
        EXPECT_TRUE(highScores().saveAllowed) << "the game's own table may be written";
    }
    EXPECT_EQ(notes.size(), 1u) << "said once per run";

    const std::vector<uint8_t> longer = pattern(200, 9);
    writeFile(fileOf(VortaStrike), longer);
    std::vector<uint8_t> memory = memoryFor(VortaStrike);
    putMarkers(VortaStrike, memory);
    loadHighScores(VortaStrike);
    installHighScores(VortaStrike, memory);
    EXPECT_TRUE(std::equal(longer.begin(), longer.begin() + 168, memory.begin() + 0x8100));
    EXPECT_EQ(memory[0x8100 + 168], 0);
}

TEST_F(HighScores, TheTopScoreIsCopiedWhereTheScreenShowsIt)
{
    std::vector<uint8_t> rope = memoryFor(RockNRope);
    putMarkers(RockNRope, rope);
    writeFile(fileOf(RockNRope), pattern(64, 0x40));
    loadHighScores(RockNRope);
    installHighScores(RockNRope, rope);
    EXPECT_TRUE(std::equal(rope.begin() + 0x5160, rope.begin() + 0x5163, rope.begin() + 0x50A6));

    struct Case {
        uint8_t b0, b1, b2;
        uint8_t screenHigh; // 0x3647 afterwards (it starts as 0x77)
    };
    for (const Case& c : {Case{0x12, 0x34, 0x56, 0x01}, Case{0x07, 0x98, 0x30, 0x77}}) {
        std::vector<uint8_t> memory = memoryFor(CircusCharlie2);
        putMarkers(CircusCharlie2, memory);
        memory[0x3647] = 0x77;
        std::vector<uint8_t> table(50, 0x20);
        table[0] = c.b0, table[1] = c.b1, table[2] = c.b2;
        writeFile(fileOf(CircusCharlie2), table);
        loadHighScores(CircusCharlie2);
        installHighScores(CircusCharlie2, memory);
        EXPECT_EQ(memory[0x20A6], c.b0);
        EXPECT_EQ(memory[0x20A7], c.b1);
        EXPECT_EQ(memory[0x20A8], c.b2);
        EXPECT_EQ(memory[0x35C7], c.b2 >> 4);
        EXPECT_EQ(memory[0x35A7], c.b2 & 0x0F);
        EXPECT_EQ(memory[0x3607], c.b1 >> 4);
        EXPECT_EQ(memory[0x35E7], c.b1 & 0x0F);
        EXPECT_EQ(memory[0x3627], c.b0 & 0x0F);
        EXPECT_EQ(memory[0x3647], c.screenHigh);
    }
}

TEST_F(HighScores, AnInterruptedSaveLeavesTheOldFileWhole)
{
    const std::vector<uint8_t> old = pattern(168, 1);
    writeFile(fileOf(VortaStrike), old);
    std::vector<uint8_t> memory = memoryFor(VortaStrike);
    loadHighScores(VortaStrike);
    putMarkers(VortaStrike, memory);
    installHighScores(VortaStrike, memory);
    memory[0x8100] = 0x99;
    commitFileFailAfterBytes = 100;
    EXPECT_FALSE(saveHighScores(VortaStrike, memory));
    EXPECT_EQ(readFile(fileOf(VortaStrike)), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(fileOf(VortaStrike).parent_path()), fs::directory_iterator{}), 1)
        << "no temporary file is left behind";
    ASSERT_EQ(notes.size(), 1u);
    commitFileFailAfterBytes = -1;
    EXPECT_TRUE(saveHighScores(VortaStrike, memory));
    EXPECT_EQ(readFile(fileOf(VortaStrike))[0], 0x99);
}

// The generated set: the program writes its default table at start, like the game.
struct HighScoresEndToEnd : ::testing::Test {
    TempFolder folder;
    void SetUp() override { writeTestRomSet(folder); }
    fs::path scoreFile() { return romFile(folder, "vorta\\vorta.hsc"); }
};

TEST_F(HighScoresEndToEnd, AScoreSetInOneRunIsInstalledAtTheMarkerInTheNext)
{
    const std::vector<uint8_t> defaults = testrom::vortaDefaultHighScoreTable();
    {
        RunningGame game(folder.str(), "JN");
        ASSERT_EQ(game.result, FrameLoopResult::Quit);
        game.loop.unpaced = true;
        game.frames(5);
        uint8_t* table = board().data() + testrom::kHighScoreTableAddress;
        EXPECT_TRUE(std::equal(defaults.begin(), defaults.end(), table));
        table[7] = 0x99; // the second entry's score, as a player would set it
        table[8] = 0x50;
    } // quitting writes the table
    std::vector<uint8_t> expected = defaults;
    expected[7] = 0x99, expected[8] = 0x50;
    ASSERT_EQ(readFile(scoreFile()), expected);

    RunningGame game(folder.str(), "JN");
    ASSERT_EQ(game.result, FrameLoopResult::Quit);
    game.loop.unpaced = true;
    EXPECT_TRUE(highScores().pending);
    game.frames(1);
    EXPECT_FALSE(highScores().pending);
    const uint8_t* table = board().data() + testrom::kHighScoreTableAddress;
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), table));
}

TEST_F(HighScoresEndToEnd, AResetWritesTheTableAndInstallsItAgain)
{
    RunningGame game(folder.str(), "JN");
    game.loop.unpaced = true;
    game.frames(2);
    board().data()[testrom::kHighScoreTableAddress + 10] = 0x42;
    game.emu().run.pendingAction = ActionReset;
    game.frames(1);
    EXPECT_EQ(readFile(scoreFile()).at(10), 0x42);
    game.frames(1); // the program writes its defaults again, then the file's table goes in
    EXPECT_EQ(board().data()[testrom::kHighScoreTableAddress + 10], 0x42);
}

// Rock'n'Rope reads its file only once its own default table stands: without a file nothing is
// written; a file's table goes in over the defaults, its top score also where the screen shows
// it, and the table with a new score goes back on quitting.
TEST(TileHighScoresEndToEnd, RockNRopeInstallsItsFileOverTheDefaultsAndWritesTheNewScoreBack)
{
    TempFolder folder;
    std::string error;
    ASSERT_TRUE(testrom::writeTileTestRomSets(folder.str(), "rocnrope", error)) << error;
    keyStates().releaseAll();
    const fs::path file = romFile(folder, "rocnrope\\rocnrope.hsc");
    const std::vector<uint8_t> defaults = testrom::rockNRopeDefaultHighScoreTable();
    ASSERT_EQ(defaults.size(), highScoreFile(RockNRope)->bytes);
    const auto table = [] { return board().data() + testrom::kRockNRopeScoreTable; };
    const auto shownTopScore = [] {
        const uint8_t* shown = board().data() + testrom::kRockNRopeShownTopScore;
        return std::vector<uint8_t>(shown, shown + 3);
    };
    {
        RunningGame game(folder.str(), "RR");
        ASSERT_EQ(game.result, FrameLoopResult::Quit);
        game.loop.unpaced = true;
        game.frames(5);
        EXPECT_TRUE(std::equal(defaults.begin(), defaults.end(), table()));
        EXPECT_EQ(shownTopScore(), std::vector<uint8_t>(defaults.begin(), defaults.begin() + 3));
        EXPECT_FALSE(highScores().pending);
        EXPECT_FALSE(highScores().saveAllowed);
    }
    EXPECT_FALSE(fs::exists(file)) << "a run without a file writes none";

    std::vector<uint8_t> saved = defaults;
    saved[0] = 0x02, saved[1] = 0x50; // 25000 points by "ACE"
    saved[3] = 'A', saved[4] = 'C', saved[5] = 'E';
    writeFile(file, saved);
    {
        RunningGame game(folder.str(), "RR");
        game.loop.unpaced = true;
        EXPECT_TRUE(highScores().pending);
        game.frames(5);
        EXPECT_FALSE(highScores().pending);
        EXPECT_TRUE(std::equal(saved.begin(), saved.end(), table())) << "installed over the defaults";
        EXPECT_EQ(shownTopScore(), (std::vector<uint8_t>{0x02, 0x50, 0x00}));
        table()[9] = 0x95; // the second entry's score, as a player would set it
    }                      // quitting writes the table
    std::vector<uint8_t> expected = saved;
    expected[9] = 0x95;
    ASSERT_EQ(readFile(file), expected);

    RunningGame game(folder.str(), "RR");
    game.loop.unpaced = true;
    game.frames(5);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), table()));
}

} // namespace
} // namespace vortastr::test
