#pragma once
// Builds movie files sector by sector for the reader tests, and a temporary folder to hold them.

#include "temp_dir.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace reelcast::test {

using suite::test::TempDir;

class MovieBuilder {
public:
    static constexpr size_t kSector = 2352;
    static constexpr size_t kPayload = 2016;

    MovieBuilder(); // starts with the RIFF "CDXA" header

    // One video sector carrying the payload (padded or cut to 2016 bytes).
    MovieBuilder& video(int32_t frameNumber, uint16_t chunkNumber, uint16_t chunkCount,
                        const std::vector<uint8_t>& payload = {}, uint16_t width = 320, uint16_t height = 240);
    // A whole frame: payload split into chunks of 2016 bytes, one sector each.
    MovieBuilder& frame(int32_t frameNumber, const std::vector<uint8_t>& payload, uint16_t width = 320,
                        uint16_t height = 240);
    // An audio sector (submode 0x64 in the first subheader, or only in its copy).
    MovieBuilder& audio(uint8_t fileNumber = 1, uint8_t channelNumber = 0, uint8_t coding = 0,
                        bool markOnlyCopy = false);
    MovieBuilder& other(); // neither video nor audio

    std::vector<uint8_t>& bytes() { return bytes_; }
    size_t sectorCount() const { return (bytes_.size() - 44) / kSector; }
    std::string write(const TempDir& dir, const std::string& name) const;

private:
    uint8_t* newSector();
    std::vector<uint8_t> bytes_;
};

// Payload bytes that differ from chunk to chunk: byte i of chunk c is (c * 7 + i) & 0xFF.
std::vector<uint8_t> patternPayload(size_t chunks);

using suite::test::writeFile;

} // namespace reelcast::test
