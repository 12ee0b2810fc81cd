// Emulated frames per second of the generated test ROM sets through the frame loop, unpaced:
// with "Never" (nothing drawn) and with every frame drawn.
#include "boards/irem/irem_test_set.h"
#include "tests/game_fixtures.h"

#include <benchmark/benchmark.h>

namespace vortastr::test {
namespace {

// The RType test set from the program the build assembled.
void writeRTypeTestSet(const TempFolder& folder)
{
    testrom::Bytes program;
    std::string error;
    if (testrom::readBinary(std::string(IREM_PROGRAM_DIR) + "/rtype.bin", program, error))
        testrom::writeRomFiles(folder.str(), "rtype", irem::testset::buildRTypeSet(program), error);
}

void runFrames(benchmark::State& state, int32_t frameDisplay, const char* code = "JN",
               void (*writeSet)(const TempFolder&) = writeTestRomSet)
{
    TempFolder folder;
    writeSet(folder);
    RunningGame game(folder.str(), code);
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

// RType: the V30, the port table, both layer copies with their splits, sprites and the palette
// sync every frame.
void RTypeFramesNeverDrawn(benchmark::State& state) { runFrames(state, kFrameDisplayNever, "r1", writeRTypeTestSet); }
void RTypeFramesEveryOneDrawn(benchmark::State& state) { runFrames(state, 1, "r1", writeRTypeTestSet); }

BENCHMARK(FramesNeverDrawn)->MinTime(1.0);
BENCHMARK(FramesEveryOneDrawn)->MinTime(1.0);
BENCHMARK(RTypeFramesNeverDrawn)->MinTime(1.0);
BENCHMARK(RTypeFramesEveryOneDrawn)->MinTime(1.0);

} // namespace
} // namespace vortastr::test

BENCHMARK_MAIN();
