#include "shell/trackball_motion.h"

#include "shell/input.h"

#include <algorithm>
#include <cstdlib>

namespace vortastr {
namespace {

int32_t pendingX = 0, pendingY = 0;

// -kStickMotion .. kStickMotion for a position between the axis limits.
int32_t stickMotion(int32_t position, int32_t low, int32_t high)
{
    const int64_t half = (int64_t(high) - low) / 2;
    if (half <= 0)
        return 0;
    const int64_t offset = int64_t(position) - low - half;
    if (std::abs(offset) * 10 < half)
        return 0;
    return int32_t(std::clamp<int64_t>(offset * kStickMotion / half, -kStickMotion, kStickMotion));
}

} // namespace

void addMouseMotion(int32_t dx, int32_t dy)
{
    pendingX = std::clamp(pendingX + dx, -kMaxPendingMotion, kMaxPendingMotion);
    pendingY = std::clamp(pendingY + dy, -kMaxPendingMotion, kMaxPendingMotion);
}

void takeTrackballMotion(int32_t& dx, int32_t& dy)
{
    dx = pendingX;
    dy = pendingY;
    pendingX = pendingY = 0;
    const InputState& in = inputState();
    if (in.run && in.run->inputSuspended) {
        dx = dy = 0;
        return;
    }
    JoystickReading stick;
    if (in.joysticks && in.joystick1 != kNoJoystick && in.joysticks->read(in.joystick1, stick)) {
        dx += stickMotion(stick.x, in.caps[0].xMin, in.caps[0].xMax);
        dy += stickMotion(stick.y, in.caps[0].yMin, in.caps[0].yMax);
    }
}

} // namespace vortastr
