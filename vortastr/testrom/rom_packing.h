#pragma once
// Helpers for test ROM generators: read what an assembler produced, cut or interleave it into
// the chip images a board expects, and write a game's files safely (temporary file, checked
// write, rename).
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vortastr::testrom {

using Bytes = std::vector<uint8_t>;
// File name inside the game folder -> contents.
using RomFiles = std::map<std::string, Bytes>;

// The whole file; false with a reason when it cannot be read.
bool readBinary(const std::string& path, Bytes& bytes, std::string& error);

// Consecutive pieces of the given sizes from the start of `image`. Bytes past the image's end
// are `fill`; throws std::length_error when the image is longer than the pieces together.
std::vector<Bytes> splitImage(const Bytes& image, const std::vector<std::size_t>& sizes, uint8_t fill = 0xFF);

// Deals `image` out to `ways` chips `width` bytes at a time (16-bit boards keep even bytes in
// one chip and odd bytes in the other: ways 2, width 1). Each chip gets `chipSize` bytes,
// padded with `fill`; throws std::length_error when the image does not fit.
std::vector<Bytes> interleaveImage(const Bytes& image, std::size_t ways, std::size_t width, std::size_t chipSize,
                                   uint8_t fill = 0xFF);

// `image` placed at `offset` of a chip of `size` bytes filled with `fill`; throws
// std::length_error when it does not fit.
Bytes placeInChip(const Bytes& image, std::size_t offset, std::size_t size, uint8_t fill = 0xFF);

// Writes every file into folder/game, each through a temporary file and a rename; false with a
// reason at the first file that cannot be written.
bool writeRomFiles(const std::string& folder, const std::string& game, const RomFiles& files, std::string& error);

// Game folder -> its files.
using RomSets = std::map<std::string, RomFiles>;
// Writes the set named `set` (every set when it is empty) under folder; false with a reason when
// there is no such set or a file cannot be written.
bool writeRomSets(const std::string& folder, const std::string& set, const RomSets& sets, std::string& error);

} // namespace vortastr::testrom
