// Saved states: this emulator's own format on the running board (round trip, refusals that
// change nothing, F7/F8 and the command line's files), and the raw RType save files.
#include "boards/board.h"
#include "boards/file_commit.h"
#include "boards/game_states.h"
#include "boards/rom_files.h"
#include "boards/rtype_save_file.h"
#include "boards/saved_state.h"
#include "shell/startup.h"
#include "tests/game_fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

namespace vortastr::test {
namespace {

namespace fs = std::filesystem;
using suite::test::readFile;

std::vector<uint8_t> memoryOfBoard() { return {board().data(), board().data() + board().size()}; }

// What a run leaves: its last picture, its messages and its exit status.
struct RunResult {
    std::vector<uint8_t> picture;
    std::vector<Message> messages;
    int status = 0;
};

struct SavedStates : ::testing::Test {
    TempFolder folder;

    RunResult run(const std::string& game, int frames, const std::string& loadState, const std::string& saveState,
                  const std::string& script = "")
    {
        HeadlessRun run = runHeadless(HeadlessRequest{folder.str(), game, script, frames, loadState, saveState});
        return RunResult{std::move(run.picture), std::move(run.shown), run.status};
    }
};

TEST_F(SavedStates, SavingAfterNFramesAndLoadingForMMoreEqualsNPlusMInOneRun)
{
    writeTestRomSet(folder);
    writeBlankRomSet(folder, Tutankham);
    for (const std::string game : {"JN", "TK"}) {
        SCOPED_TRACE(game);
        const std::string script = "10:Right,70:Up+Ctrl,100:-";
        const std::string middle = folder.file(game + "-middle.state");
        const std::string whole = folder.file(game + "-whole.state");
        const std::string split = folder.file(game + "-split.state");
        const RunResult first = run(game, 90, "", middle, script);
        EXPECT_EQ(first.status, 0);
        const RunResult one = run(game, 150, "", whole, script);
        // The second part replays the script from frame 91 on: frames 1 to 90 of it are over.
        const RunResult two = run(game, 60, middle, split, "1:Up+Ctrl,10:-");
        EXPECT_TRUE(two.messages.empty()) << (two.messages.empty() ? "" : two.messages[0].text);
        EXPECT_EQ(two.picture, one.picture);
        // The two states agree byte for byte (memory, engines, board, family, palette).
        const std::vector<uint8_t> a = readFile(split), b = readFile(whole);
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t i = 0; i < a.size(); ++i)
            if (a[i] != b[i]) {
                ADD_FAILURE() << "states differ first at byte " << i;
                break;
            }
        EXPECT_NE(readFile(middle), readFile(whole));
    }
}

TEST_F(SavedStates, ForeignDamagedOrOtherVersionStatesAreRefusedAndTheGameGoesOn)
{
    writeTestRomSet(folder);
    writeBlankRomSet(folder, Tutankham);
    const std::string tutankham = folder.file("tk.state");
    ASSERT_EQ(run("TK", 5, "", tutankham).status, 0);
    const std::string own = folder.file("jn.state");
    ASSERT_EQ(run("JN", 5, "", own).status, 0);
    const std::vector<uint8_t> good = readFile(own);

    std::vector<uint8_t> damaged = good;
    damaged[damaged.size() / 2] ^= 0x10;
    std::vector<uint8_t> otherVersion = good;
    otherVersion[4] = 0x7F;
    const std::vector<uint8_t> truncated(good.begin(), good.begin() + 40);
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* says;
    };
    const Case cases[] = {{"foreign", readFile(tutankham), "not of \"Vorta Strike\""},
                          {"damaged", damaged, "check sum"},
                          {"version", otherVersion, "format version"},
                          {"truncated", truncated, "check sum"},
                          {"garbage", std::vector<uint8_t>(64, 0xAB), "not a saved state"}};
    const std::string fifo = folder.file("pipe.state");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const RunResult fromPipe = run("JN", 3, fifo, "");
    ASSERT_EQ(fromPipe.messages.size(), 1u) << "a pipe is never waited on";
    EXPECT_TRUE(fs::is_fifo(fifo));

    const RunResult plain = run("JN", 30, "", "");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.file(std::string(c.name) + ".state");
        writeFile(path, c.bytes);
        const RunResult refused = run("JN", 30, path, "");
        EXPECT_EQ(refused.status, 0);
        ASSERT_EQ(refused.messages.size(), 1u);
        EXPECT_EQ(refused.messages[0].caption, "Emulator Warning");
        EXPECT_NE(refused.messages[0].text.find(c.says), std::string::npos) << refused.messages[0].text;
        EXPECT_EQ(refused.picture, plain.picture) << "the game runs on as if nothing was loaded";
    }
}

TEST_F(SavedStates, F7WritesTheGamesStateFileAndF8PutsItBack)
{
    writeTestRomSet(folder);
    RunningGame game(folder.str(), "JN");
    ASSERT_EQ(game.result, FrameLoopResult::Quit);
    game.loop.unpaced = true;
    const fs::path file = romFile(folder, "vorta\\JN.state");
    keyStates().set(Key::F8, true); // nothing saved yet: nothing happens
    game.frames(1);
    keyStates().releaseAll();
    EXPECT_TRUE(game.host().messages.empty());

    game.frames(20);
    keyStates().set(Key::F7, true);
    game.frames(1);
    keyStates().releaseAll();
    ASSERT_TRUE(fs::exists(file));
    const std::vector<uint8_t> atSave = memoryOfBoard();
    game.frames(40);
    EXPECT_NE(memoryOfBoard(), atSave);
    keyStates().set(Key::F8, true);
    game.frames(1);
    keyStates().releaseAll();
    EXPECT_EQ(memoryOfBoard(), atSave);
    EXPECT_EQ(game.loop.frameCounter, 0);
    EXPECT_TRUE(game.host().messages.empty());
}

TEST_F(SavedStates, AFailedSaveLeavesTheOldStateWholeAndSaysSo)
{
    writeTestRomSet(folder);
    const std::string path = folder.file("keep.state");
    writeFile(path, {1, 2, 3});
    commitFileFailAfterBytes = 1000;
    const RunResult r = run("JN", 3, "", path);
    commitFileFailAfterBytes = -1;
    EXPECT_EQ(r.status, 1);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].caption, "Emulator Warning");
    EXPECT_EQ(readFile(path), (std::vector<uint8_t>{1, 2, 3}));
}

// The raw files of RType and RType II on a V30 context and a 1 MB memory image.
struct RTypeSaveFiles : ::testing::Test {
    TempFolder folder;
    void SetUp() override
    {
        romFiles().romPath = folder.str();
        fs::create_directories(folder / "rtype"); // the games' ROM folders
        fs::create_directories(folder / "rtype2");
    }
    void TearDown() override
    {
        romFiles().romPath = ".";
        commitFileFailAfterBytes = -1;
    }
};

TEST_F(RTypeSaveFiles, TheFilesHaveTheirRegionsInOrderAndComeBackWhole)
{
    struct Row {
        GameId game;
        std::size_t bytes, regions;
        const char* name;
    };
    for (const Row& row :
         {Row{RType, 121943, 7, "rtype\\savegame.dat"}, Row{RType2, 55383, 5, "rtype2\\savegame.dat"}}) {
        SCOPED_TRACE(row.game);
        EXPECT_EQ(rtypeSaveFileSize(row.game), row.bytes);
        EXPECT_EQ(rtypeSaveRegions(row.game).size(), row.regions);
        std::vector<uint8_t> memory(0x100000);
        for (std::size_t i = 0; i < memory.size(); ++i)
            memory[i] = uint8_t(i * 31 + (i >> 12));
        v30::V30Context context;
        context.ip = 0x1234;
        context.setSegment(1, 0xE000);
        context.reg[0] = 0xBEEF;
        context.memory = memory.data();
        std::string error;
        ASSERT_TRUE(saveRTypeFile(row.game, context, memory, error)) << error;
        const std::vector<uint8_t> file = readFile(romFile(folder, row.name));
        ASSERT_EQ(file.size(), row.bytes);
        const MemoryRegion first = rtypeSaveRegions(row.game).front();
        EXPECT_EQ(file[87], memory[first.start]);
        EXPECT_EQ(file.back(),
                  memory[rtypeSaveRegions(row.game).back().start + rtypeSaveRegions(row.game).back().length - 1]);

        std::vector<uint8_t> blank(0x100000, 0);
        v30::V30Context loaded;
        loaded.memory = blank.data();
        ASSERT_TRUE(loadRTypeFile(row.game, loaded, blank));
        EXPECT_EQ(loaded.ip, 0x1234u);
        EXPECT_EQ(loaded.segmentBase[1], 0xE0000u);
        EXPECT_EQ(loaded.reg[0], 0xBEEF);
        EXPECT_EQ(loaded.memory, blank.data());
        for (const MemoryRegion& region : rtypeSaveRegions(row.game))
            EXPECT_TRUE(std::equal(memory.begin() + region.start, memory.begin() + region.start + region.length,
                                   blank.begin() + region.start));
        EXPECT_EQ(blank[0x30000], 0) << "only the regions are in the file";
    }
}

TEST_F(RTypeSaveFiles, WithoutAWholeFileLoadingChangesNothing)
{
    std::vector<uint8_t> memory(0x100000, 0x5A);
    v30::V30Context context;
    context.ip = 0x77;
    EXPECT_FALSE(loadRTypeFile(RType, context, memory)); // F8 without rtype\savegame.dat
    writeFile(romFile(folder, "rtype\\savegame.dat"), std::vector<uint8_t>(121942, 1));
    EXPECT_FALSE(loadRTypeFile(RType, context, memory)); // one byte short
    EXPECT_EQ(context.ip, 0x77u);
    EXPECT_TRUE(std::all_of(memory.begin(), memory.end(), [](uint8_t b) { return b == 0x5A; }));
    EXPECT_EQ(rtypeSaveFileSize(VortaStrike), 0u);
    std::string error;
    EXPECT_FALSE(saveRTypeFile(VortaStrike, context, memory, error));
}

TEST_F(RTypeSaveFiles, AnInterruptedSaveLeavesTheOldFileWhole)
{
    std::vector<uint8_t> memory(0x100000, 0x11);
    v30::V30Context context;
    std::string error;
    ASSERT_TRUE(saveRTypeFile(RType2, context, memory, error));
    const std::vector<uint8_t> old = readFile(romFile(folder, "rtype2\\savegame.dat"));
    std::fill(memory.begin(), memory.end(), 0x22);
    commitFileFailAfterBytes = 30000;
    EXPECT_FALSE(saveRTypeFile(RType2, context, memory, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(readFile(romFile(folder, "rtype2\\savegame.dat")), old);
}

} // namespace
} // namespace vortastr::test
