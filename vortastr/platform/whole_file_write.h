#pragma once
// Writes a whole file the way a user's files must be written: a regular file (or a new one) gets a
// temporary file beside it that is written, flushed and renamed over it, so a full disk or a kill
// never leaves half a file; a device or FIFO the user named is written in place, never replaced.
// The path is used byte for byte (no text conversion). Every write is checked.
#include <string>
#include <string_view>

namespace vortastr {

// False with the reason (the system's words, e.g. "No space left on device") when it cannot.
bool writeWholeFile(const std::string& path, std::string_view bytes, std::string& error);

} // namespace vortastr
