#pragma once

namespace reelcast {

inline constexpr const char* kVersionText = "1.06";
// What the files we write name as their software.
inline constexpr const char* kSoftwareName = "reelcast 1.06";

} // namespace reelcast
