// F7 and F8 on RType and RType II end to end: a headless run saves the game's raw
// "savegame.dat" with a scripted F7, a second run loads it with F8 and goes on, and both end
// exactly where one uninterrupted run ends.
#include "boards/board.h"
#include "boards/irem/irem_test_set.h"
#include "boards/rtype_save_file.h"
#include "tests/game_fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vortastr::test {
namespace {

using suite::test::readFile;

// Where two of this emulator's saved states differ, other than in the count of cycles run since
// the start (the first field of the first processor's section, which no raw file holds) and the
// check sum over it; empty when they agree.
std::string firstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    if (a.size() != b.size() || a.size() < 16)
        return "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size());
    const std::size_t sections = a[8] | a[9] << 8;
    const std::size_t cycles = 12 + 8 * sections; // the first section's data
    for (std::size_t i = 0; i + 4 < a.size(); ++i)
        if (a[i] != b[i] && (i < cycles || i >= cycles + 8))
            return "byte " + std::to_string(i);
    return {};
}

struct IremSaveGame : ::testing::Test {
    TempFolder folder;

    void SetUp() override
    {
        for (const char* set : {"rtype", "rtype2"}) {
            std::string error;
            const std::string program = std::string(IREM_PROGRAM_DIR) + "/" + set + ".bin";
            ASSERT_TRUE(irem::testset::writeIremTestRomSet(folder.str(), set, program, error)) << error;
        }
    }
    void TearDown() override { keyStates().releaseAll(); }

    // A headless run; `stateAtEnd` receives this emulator's own saved state after the last frame.
    HeadlessRun run(const std::string& game, int frames, const std::string& script, const std::string& stateAtEnd)
    {
        keyStates().releaseAll();
        return runHeadless(folder.str(), game, script, frames, stateAtEnd);
    }
};

TEST_F(IremSaveGame, F7AtFrameNThenF8InANewRunEndsWhereOneUninterruptedRunEnds)
{
    struct Case {
        const char* code;
        GameId game;
        const char* file;
    };
    for (const Case& c : {Case{"r1", RType, "rtype\\savegame.dat"}, Case{"r2", RType2, "rtype2\\savegame.dat"}}) {
        SCOPED_TRACE(c.code);
        const std::filesystem::path file = romFile(folder, c.file);
        // F7 after frame 60 while the sprite moves; the run goes on to frame 130.
        const std::string whole = folder.file(std::string(c.code) + "-whole.state");
        const HeadlessRun one = run(c.code, 130, "10:Right,60:Right+F7,61:Right,80:Up+Ctrl,100:-", whole);
        ASSERT_EQ(one.status, 0);
        EXPECT_FALSE(one.messages);
        ASSERT_TRUE(std::filesystem::exists(file));
        EXPECT_EQ(std::filesystem::file_size(file), rtypeSaveFileSize(c.game));

        // F8 after the first frame puts the board at the end of frame 60: frame k of this run
        // is frame k + 59 of the first, and the script goes on from there.
        const std::string split = folder.file(std::string(c.code) + "-split.state");
        const HeadlessRun two = run(c.code, 71, "1:Right+F8,2:Right,21:Up+Ctrl,41:-", split);
        ASSERT_EQ(two.status, 0);
        EXPECT_FALSE(two.messages);
        EXPECT_EQ(two.picture, one.picture);
        EXPECT_EQ(firstDifference(readFile(split), readFile(whole)), std::string()) << "the boards differ";

        // Without the file F8 does nothing: the run is a plain one of 71 frames.
        std::filesystem::remove(file);
        const HeadlessRun plain = run(c.code, 71, "1:Right,21:Up+Ctrl,41:-", "");
        const HeadlessRun refused = run(c.code, 71, "1:Right+F8,2:Right,21:Up+Ctrl,41:-", "");
        EXPECT_FALSE(refused.messages);
        EXPECT_EQ(refused.picture, plain.picture);
        EXPECT_NE(refused.picture, one.picture);
    }
}

} // namespace
} // namespace vortastr::test
