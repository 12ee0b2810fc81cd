// Emulated frames per second of the generated test ROM sets through the frame loop, unpaced:
// "Vorta Strike" with "Never" (nothing drawn) and with every frame drawn, and every other board
// family's test set with every frame drawn.
#include "boards/atari/testrom/atari_test_set.h"
#include "boards/irem/irem_test_set.h"
#include "boards/konami_bitmap/testrom/vorta_test_set.h"
#include "boards/konami_tile/iron_horse_jail_break_test_sets.h"
#include "boards/konami_tile/joystick_test_sets.h"
#include "boards/konami_tile/tile_test_sets.h"
#include "boards/scramble/scramble_test_set.h"
#include "tests/game_fixtures.h"

#include <benchmark/benchmark.h>

#include <functional>

namespace vortastr::test {
namespace {

using SetWriter = std::function<bool(const std::string& folder, std::string& error)>;

// Runs `code` from the sets `write` puts in a scratch folder, the stick moving now and then so
// that sprites move and the renderers' caches see changed cells only where the program changes them.
void runFrames(benchmark::State& state, const char* code, const SetWriter& write, int32_t frameDisplay,
               const char* script = "30:Right,200:Left+Up,400:-")
{
    TempFolder folder;
    std::string error;
    if (!write(folder.str(), error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    RunningGame game(folder.str(), code);
    if (game.result != FrameLoopResult::Quit || !game.host().messages.empty()) {
        state.SkipWithError("the test ROM set did not start");
        return;
    }
    game.loop.unpaced = true;
    game.loop.script = parseInputScript(script, error);
    game.emu().settings.frameDisplay = frameDisplay;
    for (auto _ : state)
        frameLoopIteration(game.emu(), game.loop);
    state.SetItemsProcessed(state.iterations());
    state.counters["frames_per_second"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

bool writeVorta(const std::string& folder, std::string& error) { return testrom::writeVortaTestRomSet(folder, error); }

bool writeTileSets(const std::string& folder, std::string& error)
{
    return testrom::writeTileTestRomSets(folder, "", error);
}

bool writeJoystickSets(const std::string& folder, std::string& error)
{
    return testrom::writeJoystickTestRomSets(folder, "", error);
}

bool writeScrambleSets(const std::string& folder, std::string& error)
{
    return scramble::writeTestRomSets(folder, SCRAMBLE_TEST_PROGRAMS "/scramble_test.bin",
                                      SCRAMBLE_TEST_PROGRAMS "/tazmania_test.bin", error);
}

void FramesNeverDrawn(benchmark::State& state) { runFrames(state, "JN", writeVorta, kFrameDisplayNever); }
void FramesEveryOneDrawn(benchmark::State& state) { runFrames(state, "JN", writeVorta, 1); }
BENCHMARK(FramesNeverDrawn)->MinTime(1.0);
BENCHMARK(FramesEveryOneDrawn)->MinTime(1.0);

// Track'n'Field and Hyper Sports move their sprite with the run buttons (Shift among them).
void TileBoardFramesEveryOneDrawn(benchmark::State& state, const char* code)
{
    runFrames(state, code, writeTileSets, 1, "30:Right,200:Left+Shift,400:-");
}
BENCHMARK_CAPTURE(TileBoardFramesEveryOneDrawn, TrackNField, "TF")->MinTime(1.0);
BENCHMARK_CAPTURE(TileBoardFramesEveryOneDrawn, HyperSports, "HS")->MinTime(1.0);
BENCHMARK_CAPTURE(TileBoardFramesEveryOneDrawn, RockNRope, "RR")->MinTime(1.0);
BENCHMARK_CAPTURE(TileBoardFramesEveryOneDrawn, CircusCharlie, "CH")->MinTime(1.0);

// WhizQuiz scrolls a band, MegaZone the whole picture both ways; the sprite follows the joystick.
void JoystickBoardFramesEveryOneDrawn(benchmark::State& state, const char* code)
{
    runFrames(state, code, writeJoystickSets, 1, "30:Right,200:Left+Down,400:-");
}
BENCHMARK_CAPTURE(JoystickBoardFramesEveryOneDrawn, WhizQuiz, "WQ")->MinTime(1.0);
BENCHMARK_CAPTURE(JoystickBoardFramesEveryOneDrawn, MegaZone, "mz")->MinTime(1.0);
BENCHMARK_CAPTURE(JoystickBoardFramesEveryOneDrawn, ShaolinsRoad, "sh")->MinTime(1.0);

bool writeHorseBreakSets(const std::string& folder, std::string& error)
{
    return testrom::writeHorseBreakTestRomSets(folder, "", error);
}

void HorseBreakFramesEveryOneDrawn(benchmark::State& state, const char* code)
{
    runFrames(state, code, writeHorseBreakSets, 1);
}
BENCHMARK_CAPTURE(HorseBreakFramesEveryOneDrawn, IronHorse, "IH")->MinTime(1.0);
BENCHMARK_CAPTURE(HorseBreakFramesEveryOneDrawn, JailBreak, "JB")->MinTime(1.0);

void ScrambleBoardFramesEveryOneDrawn(benchmark::State& state, const char* code)
{
    runFrames(state, code, writeScrambleSets, 1);
}
BENCHMARK_CAPTURE(ScrambleBoardFramesEveryOneDrawn, Scramble, "SC")->MinTime(1.0);
BENCHMARK_CAPTURE(ScrambleBoardFramesEveryOneDrawn, Tazmania, "TZ")->MinTime(1.0);

// Crystal Castles: 25600 instructions a frame, bitmap and sprites drawn every frame.
void CrystalCastlesEveryFrameDrawn(benchmark::State& state)
{
    runFrames(state, "CC", atari::testset::writeCrystalCastlesTestSet, 1);
}
BENCHMARK(CrystalCastlesEveryFrameDrawn)->MinTime(1.0);

// RType: the V30, the port table, both layer copies with their splits, sprites and the palette
// sync every frame, from the program the build assembled.
bool writeRType(const std::string& folder, std::string& error)
{
    return irem::testset::writeIremTestRomSet(folder, "rtype", std::string(IREM_PROGRAM_DIR) + "/rtype.bin", error);
}

void RTypeFramesNeverDrawn(benchmark::State& state) { runFrames(state, "r1", writeRType, kFrameDisplayNever); }
void RTypeFramesEveryOneDrawn(benchmark::State& state) { runFrames(state, "r1", writeRType, 1); }
BENCHMARK(RTypeFramesNeverDrawn)->MinTime(1.0);
BENCHMARK(RTypeFramesEveryOneDrawn)->MinTime(1.0);

} // namespace
} // namespace vortastr::test
BENCHMARK_MAIN();
