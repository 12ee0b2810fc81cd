// Emulated frames per second of the "Vorta Strike" test ROM set through the frame loop,
// unpaced: with "Never" (nothing drawn) and with every frame drawn.
#include "boards/scramble/scramble_test_set.h"
#include "tests/game_fixtures.h"

#include <benchmark/benchmark.h>

namespace vortastr::test {
namespace {

void runFrames(benchmark::State& state, int32_t frameDisplay)
{
    TempFolder folder;
    writeTestRomSet(folder);
    RunningGame game(folder.str(), "JN");
    if (game.result != FrameLoopResult::Quit) {
        state.SkipWithError("the test ROM set did not start");
        return;
    }
    game.loop.unpaced = true;
    std::string error;
    game.loop.script = parseInputScript("30:Right,200:Left+Up,400:-", error);
    game.emu().settings.frameDisplay = frameDisplay;
    for (auto _ : state)
        frameLoopIteration(game.emu(), game.loop);
    state.SetItemsProcessed(state.iterations());
    state.counters["frames_per_second"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void FramesNeverDrawn(benchmark::State& state) { runFrames(state, kFrameDisplayNever); }
void FramesEveryOneDrawn(benchmark::State& state) { runFrames(state, 1); }

BENCHMARK(FramesNeverDrawn)->MinTime(1.0);
BENCHMARK(FramesEveryOneDrawn)->MinTime(1.0);

// The Scramble-type test sets (the Z80 boards): every frame drawn, the stick held now and then.
void scrambleFrames(benchmark::State& state, const char* code)
{
    TempFolder folder;
    std::string error;
    if (!scramble::writeTestRomSets(folder.str(), SCRAMBLE_TEST_PROGRAMS "/scramble_test.bin",
                                    SCRAMBLE_TEST_PROGRAMS "/tazmania_test.bin", error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    RunningGame game(folder.str(), code);
    if (game.result != FrameLoopResult::Quit) {
        state.SkipWithError("the test ROM set did not start");
        return;
    }
    game.loop.unpaced = true;
    game.loop.script = parseInputScript("30:Right,200:Left+Up,400:-", error);
    game.emu().settings.frameDisplay = 1;
    for (auto _ : state)
        frameLoopIteration(game.emu(), game.loop);
    state.SetItemsProcessed(state.iterations());
    state.counters["frames_per_second"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void ScrambleFramesEveryOneDrawn(benchmark::State& state) { scrambleFrames(state, "SC"); }
void TazmaniaFramesEveryOneDrawn(benchmark::State& state) { scrambleFrames(state, "TZ"); }

BENCHMARK(ScrambleFramesEveryOneDrawn)->MinTime(1.0);
BENCHMARK(TazmaniaFramesEveryOneDrawn)->MinTime(1.0);

} // namespace
} // namespace vortastr::test

BENCHMARK_MAIN();
