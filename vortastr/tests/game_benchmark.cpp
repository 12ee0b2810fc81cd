// Emulated frames per second of the "Vorta Strike" test ROM set through the frame loop,
// unpaced: with "Never" (nothing drawn) and with every frame drawn.
#include "boards/atari/testrom/atari_test_set.h"
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

// The Crystal Castles test set: 25600 instructions a frame, bitmap and sprites drawn every frame.
void CrystalCastlesEveryFrameDrawn(benchmark::State& state)
{
    TempFolder folder;
    std::string error;
    if (!atari::testset::writeCrystalCastlesTestSet(folder.str(), error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    RunningGame game(folder.str(), "CC");
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
BENCHMARK(CrystalCastlesEveryFrameDrawn)->MinTime(1.0);

} // namespace
} // namespace vortastr::test

BENCHMARK_MAIN();
