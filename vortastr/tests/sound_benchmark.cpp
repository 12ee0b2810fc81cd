// What sound costs: emulated frames per second of the "Vorta Strike" test program through the
// frame loop, unpaced and drawing every frame, with sound off and with its sample set on the
// memory-rendered mix (the program plays its sound script all the time).
#include "sound/sample_sets.h"
#include "sound/sound_device.h"
#include "sound/test_sample_set.h"
#include "tests/game_fixtures.h"

#include <benchmark/benchmark.h>

namespace vortastr::test {
namespace {

void runFrames(benchmark::State& state, bool sound)
{
    TempFolder folder;
    writeTestRomSet(folder);
    std::string error;
    if (!testrom::writeTestSampleSet(folder.str(), error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    RunningGame game(folder.str(), "JN");
    if (game.result != FrameLoopResult::Quit) {
        state.SkipWithError("the test ROM set did not start");
        return;
    }
    if (sound) {
        if (!soundInit(SoundOutput::Loopback)) {
            state.SkipWithError("no loopback device");
            return;
        }
        loadGameSamples(game.emu().run.currentGame);
    }
    game.loop.unpaced = true;
    game.emu().settings.frameDisplay = 1;
    for (auto _ : state)
        frameLoopIteration(game.emu(), game.loop);
    state.counters["frames_per_second"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["samples"] = double(soundDevice().sampleCount);
    soundShutdown();
    forgetSampleSlots();
}

void FramesSoundOff(benchmark::State& state) { runFrames(state, false); }
void FramesSoundOn(benchmark::State& state) { runFrames(state, true); }

BENCHMARK(FramesSoundOff)->MinTime(2.0);
BENCHMARK(FramesSoundOn)->MinTime(2.0);

} // namespace
} // namespace vortastr::test

BENCHMARK_MAIN();
