#pragma once
// Analogue motion for trackball boards: what the mouse moved over the game's window since the
// board last asked, plus the deflection of joystick 1's stick when one is present. Arrow keys
// are not part of it; the boards imitate the trackball with them through the input poll.
#include <cstdint>

namespace vortastr {

// The window reports mouse motion in screen pixels (right and down positive).
void addMouseMotion(int32_t dx, int32_t dy);
// Motion since the last call (right and down positive), then forgotten. Nothing while input is
// suspended; the mouse's share is kept within +-kMaxPendingMotion so that motion made while
// another game runs cannot pile up.
void takeTrackballMotion(int32_t& dx, int32_t& dy);
// A full deflection of the stick moves this much per call; the inner tenth is a dead zone.
constexpr int32_t kStickMotion = 8;
constexpr int32_t kMaxPendingMotion = 256;

} // namespace vortastr
