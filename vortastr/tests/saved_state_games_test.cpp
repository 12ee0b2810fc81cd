// Saved states of every running game through the whole emulator: a run of N frames saved and
// a second run loaded from it for M more ends exactly as one run of N + M frames (picture and
// every byte of the state), and a state the family cannot take is refused while the game runs on.
#include "boards/atari/testrom/atari_test_set.h"
#include "boards/board.h"
#include "boards/irem/irem_test_set.h"
#include "boards/konami_tile/iron_horse_jail_break_test_sets.h"
#include "boards/konami_tile/joystick_test_sets.h"
#include "boards/konami_tile/tile_test_sets.h"
#include "boards/saved_state.h"
#include "boards/scramble/scramble_test_set.h"
#include "shell/startup.h"
#include "tests/game_fixtures.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <filesystem>
#include <tuple>

namespace vortastr::test {
namespace {

namespace fs = std::filesystem;
using suite::test::readFile;

struct GameCase {
    const char* code;
    const char* other; // another game whose state this one must refuse
};
void PrintTo(const GameCase& c, std::ostream* out) { *out << c.code; }

const GameCase kGames[] = {
    {"JN", "TF"}, {"TK", "JN"}, {"TF", "HS"}, {"HS", "TF"}, {"RR", "RM"}, {"RM", "RR"}, {"CH", "C2"},
    {"C2", "CH"}, {"SC", "TZ"}, {"TZ", "SB"}, {"SB", "SC"}, {"CC", "TH"}, {"TH", "CC"}, {"rj", "r1"},
    {"r1", "r2"}, {"r2", "r1"}, {"WQ", "TF"}, {"mz", "sh"}, {"sh", "mz"}, {"IH", "JB"}, {"JB", "IH"},
};

struct RunResult {
    std::vector<uint8_t> picture;
    std::vector<Message> messages;
    int status = -1;
};

// One folder with the generated sets of every board, shared by all cases.
struct GameStates : ::testing::TestWithParam<GameCase> {
    static inline TempFolder* folder = nullptr;

    static void SetUpTestSuite()
    {
        folder = new TempFolder;
        writeTestRomSet(*folder);
        writeBlankRomSet(*folder, Tutankham);
        std::string error;
        ASSERT_TRUE(testrom::writeTileTestRomSets(folder->str(), "", error)) << error;
        ASSERT_TRUE(testrom::writeJoystickTestRomSets(folder->str(), "", error)) << error;
        ASSERT_TRUE(testrom::writeHorseBreakTestRomSets(folder->str(), "", error)) << error;
        ASSERT_TRUE(scramble::writeTestRomSets(folder->str(), SCRAMBLE_TEST_PROGRAMS "/scramble_test.bin",
                                               SCRAMBLE_TEST_PROGRAMS "/tazmania_test.bin", error))
            << error;
        ASSERT_TRUE(atari::testset::writeCrystalCastlesTestSet(folder->str(), error)) << error;
        ASSERT_TRUE(atari::testset::writeTunnelHuntTestSet(folder->str(), error)) << error;
        ASSERT_TRUE(irem::testset::writeIremTestRomSet(folder->str(), "rtype", IREM_PROGRAM_DIR "/rtype.bin", error))
            << error;
        ASSERT_TRUE(irem::testset::writeIremTestRomSet(folder->str(), "rtypejp", IREM_PROGRAM_DIR "/rtype.bin", error))
            << error;
        ASSERT_TRUE(irem::testset::writeIremTestRomSet(folder->str(), "rtype2", IREM_PROGRAM_DIR "/rtype2.bin", error))
            << error;
    }
    static void TearDownTestSuite()
    {
        delete folder;
        folder = nullptr;
    }

    static std::string file(const std::string& name) { return folder->file(name); }

    RunResult run(const std::string& game, int frames, const std::string& loadState, const std::string& saveState,
                  const std::string& script = "")
    {
        // A high-score table written when a run ends would start the next run elsewhere.
        for (const auto& entry : fs::recursive_directory_iterator(folder->path()))
            if (entry.path().extension() == ".hsc")
                fs::remove(entry.path());
        HeadlessRun run = runHeadless(HeadlessRequest{folder->str(), game, script, frames, loadState, saveState});
        return RunResult{std::move(run.picture), std::move(run.shown), run.status};
    }
};

std::string firstMessage(const RunResult& r) { return r.messages.empty() ? "" : r.messages[0].text; }

// The state file with its family section one byte short, its table and check sum made to fit:
// only the family's reader can tell.
std::vector<uint8_t> withShortFamilySection(const std::vector<uint8_t>& state)
{
    constexpr uint32_t kFamily = 'F' | 'A' << 8 | 'M' << 16 | uint32_t('I') << 24;
    auto word = [&](std::size_t at) {
        return uint32_t(state[at]) | uint32_t(state[at + 1]) << 8 | uint32_t(state[at + 2]) << 16 |
               uint32_t(state[at + 3]) << 24;
    };
    std::vector<uint8_t> out = state;
    const std::size_t count = state[8] | std::size_t(state[9]) << 8;
    std::size_t body = 12 + 8 * count;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = 12 + 8 * i;
        const uint32_t size = word(entry + 4);
        if (word(entry) == kFamily) {
            if (size == 0)
                return {};
            out.erase(out.begin() + std::ptrdiff_t(body + size - 1));
            const uint32_t shorter = size - 1;
            for (int b = 0; b < 4; ++b)
                out[entry + 4 + std::size_t(b)] = uint8_t(shorter >> (8 * b));
            out.resize(out.size() - 4);
            const uint32_t crc = uint32_t(crc32(0L, out.data(), uInt(out.size())));
            for (int b = 0; b < 4; ++b)
                out.push_back(uint8_t(crc >> (8 * b)));
            return out;
        }
        body += size;
    }
    return {};
}

TEST_P(GameStates, SavingAfterNFramesAndLoadingForMMoreEqualsNPlusMInOneRun)
{
    const std::string game = GetParam().code;
    // Keys change before and after the save, so inputs, latches and counters are all in play.
    const std::string script = "10:Right+Ctrl,30:Up+3,50:Left+Shift+1,65:Down,80:-";
    constexpr int kBefore = 45, kAfter = 45;
    const std::string middle = file(game + "-middle.state");
    const std::string whole = file(game + "-whole.state");
    const std::string split = file(game + "-split.state");
    ASSERT_EQ(run(game, kBefore, "", middle, script).status, 0);
    const RunResult one = run(game, kBefore + kAfter, "", whole, script);
    ASSERT_EQ(one.status, 0);
    // The second part replays the script from frame 46 on.
    const RunResult two = run(game, kAfter, middle, split, "1:Up+3,5:Left+Shift+1,20:Down,35:-");
    ASSERT_EQ(two.status, 0);
    EXPECT_TRUE(two.messages.empty()) << firstMessage(two);
    EXPECT_EQ(two.picture, one.picture);
    const std::vector<uint8_t> a = readFile(split), b = readFile(whole);
    ASSERT_EQ(a.size(), b.size());
    std::size_t differ = a.size();
    for (std::size_t i = 0; i < a.size() && differ == a.size(); ++i)
        if (a[i] != b[i])
            differ = i;
    EXPECT_EQ(differ, a.size()) << "the states differ first at byte " << differ;
    EXPECT_NE(readFile(middle), b) << "the run moved on after the save";
}

TEST_P(GameStates, AStateTheBoardCannotTakeIsRefusedAndTheGameGoesOn)
{
    const GameCase c = GetParam();
    const std::string own = file(std::string(c.code) + "-own.state");
    const std::string foreign = file(std::string(c.other) + "-foreign.state");
    ASSERT_EQ(run(c.code, 20, "", own).status, 0);
    ASSERT_EQ(run(c.other, 20, "", foreign).status, 0);
    std::vector<uint8_t> damaged = readFile(own);
    damaged[damaged.size() / 3] ^= 0x40;
    struct Refusal {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* says;
    };
    std::vector<Refusal> refusals{{"foreign", readFile(foreign), "it is a state of"},
                                  {"damaged", damaged, "check sum"}};
    std::vector<uint8_t> shortFamily = withShortFamilySection(readFile(own));
    ASSERT_FALSE(shortFamily.empty()) << "the state has a family section";
    refusals.push_back({"short family section", shortFamily, "do not fit"});
    const RunResult plain = run(c.code, 30, "", "");
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.name);
        const std::string path = file(std::string(c.code) + "-" + r.name + ".state");
        writeFile(path, r.bytes);
        const RunResult refused = run(c.code, 30, path, "");
        EXPECT_EQ(refused.status, 0);
        ASSERT_EQ(refused.messages.size(), 1u);
        EXPECT_EQ(refused.messages[0].caption, "Emulator Warning");
        EXPECT_NE(refused.messages[0].text.find(r.says), std::string::npos) << refused.messages[0].text;
        EXPECT_EQ(refused.picture, plain.picture) << "the game runs on as if nothing was loaded";
    }
}

// Every register a family section carries, and the Scramble processor record's registers.
auto registersOf(const FamilyStates& f)
{
    const KonamiTileState& k = f.konamiTile;
    const ScrambleState& s = f.scramble;
    const AtariState& a = f.atari;
    return std::tuple(k.runToggle, k.runCounter, k.sideBuffer, s.inputPpi, s.soundPpi, s.latch, s.soundCommand,
                      s.tileBank, s.spriteBank, s.watchdogReads, s.z80.pc, s.z80.hlAlt, a.pixelX, a.pixelY, a.control,
                      a.trackballH, a.trackballV, a.verticalBlank, a.randomState);
}

// The test programs leave some registers alone (cheat counters, the side buffer, the 8255s): set
// on the running board, they must come back from a state, and the Scramble processor record
// (kept in the family record) must come back with the slot's registers.
TEST_F(GameStates, RegistersTheTestProgramsLeaveAloneComeBackFromAState)
{
    struct Row {
        const char* code;
        void (*scribble)(FamilyStates& f, uint8_t seed);
    };
    const Row rows[] = {
        {"RR",
         [](FamilyStates& f, uint8_t seed) {
             f.konamiTile.runToggle = {uint8_t(seed & 1), 1};
             f.konamiTile.runCounter = {uint8_t(seed & 7), 6};
             ASSERT_FALSE(f.konamiTile.sideBuffer.empty());
             f.konamiTile.sideBuffer.front() = seed;
             f.konamiTile.sideBuffer.back() = uint8_t(seed ^ 0xFF);
         }},
        {"SC",
         [](FamilyStates& f, uint8_t seed) {
             f.scramble.inputPpi = {seed, 2, 3, 0x9B};
             f.scramble.soundPpi = {4, seed, 6, 0x80};
             f.scramble.latch = {1, 0, 1, uint8_t(seed & 1), 0, 1, 1, 0};
             f.scramble.soundCommand = uint8_t(seed + 1);
             f.scramble.tileBank = uint8_t(seed & 1);
             f.scramble.spriteBank = uint8_t(seed + 2);
             f.scramble.watchdogReads = seed * 1000u;
             f.scramble.z80.pc = uint16_t(0x1234 + seed);
             f.scramble.z80.hlAlt = uint16_t(0x4321 + seed);
         }},
        {"CC",
         [](FamilyStates& f, uint8_t seed) {
             AtariState& a = f.atari;
             a.pixelX = seed;
             a.pixelY = uint8_t(seed + 1);
             a.control = uint8_t(seed | 0x80);
             a.trackballH = uint8_t(seed + 2);
             a.trackballV = uint8_t(seed + 3);
             a.verticalBlank = seed & 1;
             a.randomState = 0x01020304u * seed;
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        RunningGame game(folder->str(), row.code);
        ASSERT_EQ(game.result, FrameLoopResult::Quit);
        game.loop.unpaced = true;
        game.frames(3);
        Board& b = board();
        row.scribble(b.family, 0x35);
        const std::vector<uint8_t> state = encodeSavedState(b, game.emu().colours);
        const FamilyStates saved = b.family;
        row.scribble(b.family, 0x4A);
        std::string reason;
        ASSERT_TRUE(decodeSavedState(state, b, game.emu().colours, reason)) << reason;
        EXPECT_EQ(encodeSavedState(b, game.emu().colours), state);
        EXPECT_EQ(registersOf(b.family), registersOf(saved));
        if (std::string(row.code) == "SC") {
            EXPECT_EQ(b.family.scramble.z80.memory, b.data()) << "the record's pointers stay this run's";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryGame, GameStates, ::testing::ValuesIn(kGames),
                         [](const ::testing::TestParamInfo<GameCase>& info) { return std::string(info.param.code); });

} // namespace
} // namespace vortastr::test
