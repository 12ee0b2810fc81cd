#include "shell/main_loop.h"

#include "shell/shell_host.h"

#include <thread>

namespace vortastr {
namespace {

constexpr int kShellFramesPerSecond = 60;
constexpr auto kSpinMargin = std::chrono::microseconds(1500);

} // namespace

FramePacer::FramePacer(int framesPerSecond)
    : period_(std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::seconds(1)) /
              framesPerSecond),
      due_(std::chrono::steady_clock::now() + period_)
{
}

void FramePacer::waitForNextFrame()
{
    auto now = std::chrono::steady_clock::now();
    if (now - due_ > period_) {
        due_ = now + period_;
        return;
    }
    if (due_ - now > kSpinMargin)
        std::this_thread::sleep_until(due_ - kSpinMargin);
    while (std::chrono::steady_clock::now() < due_) {
    }
    due_ += period_;
}

void carryOutPendingAction(Emulator& emu)
{
    RunState& run = emu.run;
    const int32_t action = run.pendingAction;
    run.pendingAction = NoAction;
    if (action != ActionChangeGame || run.requestedGame < 0 || run.requestedGame >= kGameCount)
        return;
    run.currentGame = run.requestedGame;
    setGameTitle(run.currentGame, run.titleName);
    setWindowTitle(emu.display, run.titleName, nullptr);
    const auto game = static_cast<std::size_t>(run.currentGame);
    run.dips.a = static_cast<uint8_t>(emu.settings.savedDipA[game]);
    run.dips.b = static_cast<uint8_t>(emu.settings.savedDipB[game]);
    displayClear(emu.display);
}

bool pumpOneMessage(Emulator& emu)
{
    if (emu.host)
        emu.host->pumpOneMessage();
    if (emu.run.quitPosted)
        emu.run.quitRequested = true;
    return !emu.run.quitRequested;
}

int runMainLoop(Emulator& emu, int maxIterations)
{
    FramePacer pacer(kShellFramesPerSecond);
    int iterations = 0;
    emu.run.quitRequested = false;
    while (!emu.run.quitRequested) {
        carryOutPendingAction(emu);
        if (!pumpOneMessage(emu))
            break;
        // An emulated frame and its rendering go here once boards exist. Surfaces live in plain
        // memory and are never lost, so the restore step does nothing.
        displayRestoreLost(emu.display);
        displayPresent(emu.display);
        if (!pumpOneMessage(emu))
            break;
        pacer.waitForNextFrame();
        ++iterations;
        if (maxIterations > 0 && iterations >= maxIterations)
            break;
    }
    return iterations;
}

} // namespace vortastr
