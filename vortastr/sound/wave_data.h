#pragma once
// Finding the sample bytes of a WAV file the way the sample sets read them: the file must
// start with "RIFF"; the first "data" found from the start (byte by byte) is followed by a
// 32-bit little-endian length and the bytes. The format chunk is not read: whatever the file
// says, the bytes are played as 8-bit unsigned mono.
#include <cstdint>
#include <optional>
#include <span>

namespace vortastr {

// The sample bytes; a length running past the file is cut to the bytes present. Nothing when
// the file is not RIFF, holds no "data" or ends before the length.
std::optional<std::span<const uint8_t>> waveSampleBytes(std::span<const uint8_t> file);

} // namespace vortastr
