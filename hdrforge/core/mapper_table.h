// Names of the memory mappers the editor knows.
#pragma once

#include <string>

namespace hdrforge {

inline constexpr const char* kNoMapperInfo = "No Info Available";

// "chip name ---...--- note" for a known mapper number, "No Info Available" for any other.
std::string findMapperDesc(int mapper);

// The description for the mapper text box's contents: a decimal number gets its description,
// any other text (empty, signs, letters, spaces) gets "No Info Available".
std::string findMapperDescForText(const std::string& text);

} // namespace hdrforge
