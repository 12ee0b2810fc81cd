// Item texts of the PRG and CHR size lists.
#pragma once

#include <string>

namespace hdrforge {

inline constexpr int kProgramListItems = 32;   // 1 to 32 pages of 16 KB
inline constexpr int kCharacterListItems = 65; // "No CHR" and 1 to 64 pages of 8 KB

// "16384 bytes (1 x 16kb pages)" for 1 page; any page count is allowed, so a count beyond the
// list can be shown in the same words.
std::string programPagesText(int pages);
// "No CHR" for 0, else "8192 bytes (1 x 8kb pages)" and so on.
std::string characterPagesText(int pages);

} // namespace hdrforge
