#pragma once
// Writing a whole file so that a crash or a failed write never leaves half of it: the bytes go
// to a temporary file in the same folder, which replaces the target only when every write,
// flush and close succeeded.
#include <cstdint>
#include <span>
#include <string>

namespace vortastr {

// True when `path` now holds exactly `bytes`; false with a reason, the old file untouched.
bool commitFile(const std::string& path, std::span<const uint8_t> bytes, std::string& error);

// Test seam: when not negative, writes fail once this many bytes of a file have been written.
extern long long commitFileFailAfterBytes;

// The whole of a file, at most `limit` bytes (one more tells a longer file apart); false when
// it is not a plain file or cannot be read.
bool readWholeFile(const std::string& path, std::size_t limit, std::string& bytesOut);

} // namespace vortastr
