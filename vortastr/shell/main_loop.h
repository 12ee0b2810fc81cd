#pragma once
// The shell's loop: carries out the requests the menus left, pumps the window's messages,
// presents the screen and paces the iterations.
#include "shell/emulator.h"

#include <chrono>

namespace vortastr {

// Paces iterations to a frame rate: sleeps until shortly before the due time, then spins, so
// the timing is exact without burning a core. A run that falls behind by more than a frame
// starts counting again from now instead of racing to catch up.
class FramePacer {
public:
    explicit FramePacer(int framesPerSecond);
    void waitForNextFrame();

private:
    std::chrono::steady_clock::duration period_;
    std::chrono::steady_clock::time_point due_;
};

// Carries out and clears the pending request. A change of game takes the new game's number,
// title and stored dip bytes.
void carryOutPendingAction(Emulator& emulator);

// Pumps one message and notices the quit message. Returns false once the loop must end.
bool pumpOneMessage(Emulator& emulator);

// Runs until the window asks to quit or, when maxIterations > 0, for that many iterations.
// Returns the number of iterations run.
int runMainLoop(Emulator& emulator, int maxIterations);

} // namespace vortastr
