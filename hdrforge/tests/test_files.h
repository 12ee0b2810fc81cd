// Scratch folders and byte files for the tests.
#pragma once

#include "temp_dir.h"

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;
using suite::test::TempDir;
inline constexpr auto& writeBytes = suite::test::writeFile;
inline constexpr auto& readBytes = suite::test::readFile;

// A game of `size` bytes: the given header bytes first, then a recognisable pattern.
Bytes gameImage(std::size_t size, const Bytes& header);

// A 16-byte header: "NES" 1A, then bytes 4 to 7, then eight bytes `tail`.
Bytes headerBytes(std::uint8_t prg, std::uint8_t chr, std::uint8_t b6, std::uint8_t b7, std::uint8_t tail = 0);
