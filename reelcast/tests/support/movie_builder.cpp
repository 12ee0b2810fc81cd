#include "support/movie_builder.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace reelcast::test {
namespace {

void put16(uint8_t* p, uint16_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
void put32(uint8_t* p, uint32_t v)
{
    put16(p, uint16_t(v));
    put16(p + 2, uint16_t(v >> 16));
}

} // namespace

MovieBuilder::MovieBuilder() : bytes_(44, 0)
{
    std::memcpy(bytes_.data(), "RIFF", 4);
    put32(bytes_.data() + 4, 36);
    std::memcpy(bytes_.data() + 8, "CDXA", 4);
}

uint8_t* MovieBuilder::newSector()
{
    bytes_.resize(bytes_.size() + kSector, 0);
    uint8_t* s = bytes_.data() + bytes_.size() - kSector;
    s[0] = 0;
    std::memset(s + 1, 0xFF, 10); // sync pattern
    s[15] = 2;                    // mode 2
    return s;
}

MovieBuilder& MovieBuilder::video(int32_t frameNumber, uint16_t chunkNumber, uint16_t chunkCount,
                                  const std::vector<uint8_t>& payload, uint16_t width, uint16_t height)
{
    uint8_t* s = newSector();
    s[16] = s[20] = 1;
    s[18] = s[22] = 0x48; // data sector
    uint8_t* h = s + 24;
    h[0] = 0x60;
    h[1] = 0x01;
    put16(h + 2, 0x8001);
    put16(h + 4, chunkNumber);
    put16(h + 6, chunkCount);
    put32(h + 8, uint32_t(frameNumber));
    put16(h + 16, width);
    put16(h + 18, height);
    if (!payload.empty())
        std::memcpy(s + 56, payload.data(), std::min(payload.size(), kPayload));
    return *this;
}

MovieBuilder& MovieBuilder::frame(int32_t frameNumber, const std::vector<uint8_t>& payload, uint16_t width,
                                  uint16_t height)
{
    const size_t chunks = std::max<size_t>(1, (payload.size() + kPayload - 1) / kPayload);
    for (size_t c = 0; c < chunks; ++c) {
        const size_t from = c * kPayload;
        const size_t to = std::min(payload.size(), from + kPayload);
        std::vector<uint8_t> part(payload.begin() + std::min(from, payload.size()), payload.begin() + to);
        video(frameNumber, uint16_t(c), uint16_t(chunks), part, width, height);
    }
    return *this;
}

MovieBuilder& MovieBuilder::audio(uint8_t fileNumber, uint8_t channelNumber, uint8_t coding, bool markOnlyCopy)
{
    uint8_t* s = newSector();
    s[16] = s[20] = fileNumber;
    s[17] = s[21] = channelNumber;
    s[18] = markOnlyCopy ? 0x24 : 0x64;
    s[22] = 0x64;
    s[19] = s[23] = coding;
    return *this;
}

MovieBuilder& MovieBuilder::other()
{
    uint8_t* s = newSector();
    s[18] = s[22] = 0x08;
    return *this;
}

std::string MovieBuilder::write(const TempDir& dir, const std::string& name) const
{
    std::string path = dir.file(name);
    writeFile(path, bytes_);
    return path;
}

std::vector<uint8_t> patternPayload(size_t chunks)
{
    std::vector<uint8_t> p(chunks * MovieBuilder::kPayload);
    for (size_t c = 0; c < chunks; ++c)
        for (size_t i = 0; i < MovieBuilder::kPayload; ++i)
            p[c * MovieBuilder::kPayload + i] = uint8_t(c * 7 + i);
    return p;
}

} // namespace reelcast::test
