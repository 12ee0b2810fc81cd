// Test disc images made at test time: headers, ISO 9660 images (genisoimage), raw 2352-byte
// sector images with cue sheets, truncated and garbage files, all in a temporary folder.
#pragma once

#include "temp_dir.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace korvax::test {

struct HeaderContents {
    std::string areas = "JTUE";
    std::string peripherals = "JAM";
    std::string title = "J:GENERATED TEST DISC";
    std::size_t size = 2304;
};

// A disc header in the published layout, padded with spaces (and zero bytes after 256).
std::vector<std::uint8_t> makeHeader(const HeaderContents& contents = {});

using suite::test::readFile;
using suite::test::TempDir;
using suite::test::writeFile;

// Makes an ISO 9660 image with genisoimage; systemArea (up to 32 KB) goes to the first sectors.
// Returns false when genisoimage fails.
bool makeIso(const std::filesystem::path& image, const std::string& label,
             const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& files,
             const std::vector<std::uint8_t>& systemArea = {});

// Rewrites a 2048-byte-sector image as raw mode 1 sectors of 2352 bytes; with a cue sheet
// beside it when cue is not empty.
void makeRawImage(const std::filesystem::path& iso, const std::filesystem::path& bin,
                  const std::filesystem::path& cue = {});

} // namespace korvax::test
