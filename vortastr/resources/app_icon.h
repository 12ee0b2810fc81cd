#pragma once
// The program icon ("APPICON"): a small ship over a starfield, as XPM text.

namespace vortastr {

const char* const* appIconXpm();

} // namespace vortastr
