// The high-score tables of RType (both sets) and RType II end to end on the generated sets: the program
// writes its default table at start-up, a score entered with the start key is written to the
// game's file on quitting, and the next run puts it back once the program's defaults stand.
#include "boards/board.h"
#include "boards/high_scores.h"
#include "boards/irem/irem_test_set.h"
#include "tests/game_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace vortastr::test {
namespace {

using namespace irem::testset;
using suite::test::readFile;

struct Game {
    const char* code;
    GameId id;
    const char* set;
    bool rtype2;
};
constexpr Game kGames[] = {
    {"rj", RTypeJapanese, "rtypejp", false}, {"r1", RType, "rtype", false}, {"r2", RType2, "rtype2", true}};

// The table after the entered score took its rank: the entries below it move down one and the
// last drops out.
std::vector<ScoreEntry> rankedWithEnteredScore(bool rtype2)
{
    std::vector<ScoreEntry> ranked = defaultScoreEntries(rtype2);
    const ScoreEntry entry = enteredScore();
    const auto at =
        std::find_if(ranked.begin(), ranked.end(), [&](const ScoreEntry& e) { return e.score < entry.score; });
    ranked.insert(at, entry);
    ranked.pop_back();
    return ranked;
}

struct IremHighScores : ::testing::Test {
    TempFolder folder;
    void SetUp() override
    {
        for (const Game& g : kGames) {
            std::string error;
            const std::string program = std::string(IREM_PROGRAM_DIR) + (g.rtype2 ? "/rtype2.bin" : "/rtype.bin");
            ASSERT_TRUE(writeIremTestRomSet(folder.str(), g.set, program, error)) << error;
        }
        keyStates().releaseAll();
    }
    void TearDown() override { keyStates().releaseAll(); }
    std::filesystem::path scoreFile(const Game& g) { return romFile(folder, highScoreFile(g.id)->name); }
    static std::vector<uint8_t> tableInRam(const Game& g, std::size_t bytes)
    {
        const uint8_t* table = board().data() + highScoreFile(g.id)->address;
        return {table, table + bytes};
    }
};

TEST_F(IremHighScores, TheProgramWritesItsDefaultTableWithTheNameTheInstallerWaitsFor)
{
    for (const Game& g : kGames) {
        SCOPED_TRACE(g.code);
        const std::vector<uint8_t> defaults = scoreTableBytes(g.rtype2, defaultScoreEntries(g.rtype2));
        const HighScoreFile& file = *highScoreFile(g.id);
        ASSERT_EQ(file.markers.size(), 1u);
        const HighScoreMarker& marker = file.markers[0];
        // The marker is the first entry's name where the program's default table puts it.
        ASSERT_LE(marker.address - file.address + marker.bytes.size(), defaults.size());
        EXPECT_TRUE(std::equal(marker.bytes.begin(), marker.bytes.end(),
                               defaults.begin() + std::ptrdiff_t(marker.address - file.address)));

        RunningGame game(folder.str(), g.code);
        ASSERT_EQ(game.result, FrameLoopResult::Quit);
        game.loop.unpaced = true;
        game.frames(3);
        EXPECT_EQ(tableInRam(g, defaults.size()), defaults);
        EXPECT_FALSE(highScores().pending) << "no file: the game's own table may be written";
    }
}

TEST_F(IremHighScores, AScoreEnteredInOneRunIsInstalledAtTheMarkerInTheNext)
{
    for (const Game& g : kGames) {
        SCOPED_TRACE(g.code);
        const std::vector<uint8_t> expected = scoreTableBytes(g.rtype2, rankedWithEnteredScore(g.rtype2));
        const std::size_t saved = highScoreFile(g.id)->bytes;
        // The start key at frame 30; quitting after frame 60 writes the table.
        const HeadlessRun first = runHeadless(folder.str(), g.code, "30:1,32:-", 60);
        ASSERT_EQ(first.status, 0);
        EXPECT_FALSE(first.messages);
        keyStates().releaseAll();
        const std::vector<uint8_t> file = readFile(scoreFile(g));
        ASSERT_EQ(file.size(), saved);
        EXPECT_TRUE(std::equal(file.begin(), file.end(), expected.begin()));

        RunningGame game(folder.str(), g.code);
        ASSERT_EQ(game.result, FrameLoopResult::Quit);
        game.loop.unpaced = true;
        EXPECT_TRUE(highScores().pending);
        game.frames(2);
        EXPECT_FALSE(highScores().pending);
        EXPECT_EQ(tableInRam(g, expected.size()), expected) << "installed over the defaults, not under them";
        game.frames(30);
        EXPECT_EQ(tableInRam(g, expected.size()), expected);
    }
}

TEST_F(IremHighScores, AResetWritesTheTableAndTheProgramsDefaultsNeverOverwriteIt)
{
    // Work RAM keeps the old table through the reset: its marker stands before the program
    // writes its defaults again, so the defaults must be written before the first check.
    const Game& g = kGames[1];
    RunningGame game(folder.str(), g.code);
    game.loop.unpaced = true;
    std::string error;
    game.loop.script = parseInputScript("30:1,32:-", error);
    game.frames(40);
    const std::vector<uint8_t> entered = scoreTableBytes(false, rankedWithEnteredScore(false));
    ASSERT_EQ(tableInRam(g, entered.size()), entered);
    game.emu().run.pendingAction = ActionReset;
    game.frames(1);
    EXPECT_EQ(readFile(scoreFile(g)), entered);
    game.frames(40); // well past the program's start-up
    EXPECT_FALSE(highScores().pending);
    EXPECT_EQ(tableInRam(g, entered.size()), entered);
}

} // namespace
} // namespace vortastr::test
