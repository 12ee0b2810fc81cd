// Whole-file writes that never leave half a file behind.
#pragma once

#include <string>
#include <string_view>

namespace hdrforge {

// "Cannot <verb> "<path>": <system reason>" for the errno value given.
std::string fileErrorText(const char* verb, const std::string& path, int errnoValue);

// Writes data to a temporary file beside path, flushes it and renames it over path.
// An existing file keeps its permission bits; a symbolic link is followed, not replaced.
// On failure nothing at path changes and error holds the reason.
bool writeFileAtomically(const std::string& path, std::string_view data, std::string& error);

}  // namespace hdrforge
