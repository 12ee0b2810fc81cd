#include "core/compression_options.h"

#include <algorithm>
#include <cctype>
#include <mutex>

#include "core/codec_module.h"

namespace reelcast {

std::string fourCcText(uint32_t fourCc)
{
    std::string s(4, ' ');
    for (int i = 0; i < 4; ++i)
        s[i] = char((fourCc >> (8 * i)) & 0xFF);
    return s;
}

std::array<uint8_t, CompressionOptions::kRecordSize> CompressionOptions::toRecord() const
{
    const uint32_t fields[11] = {fccType,  fccHandler, dwKeyFrameEvery, dwQuality, dwBytesPerSecond, dwFlags,
                                 lpFormat, cbFormat,   lpParms,         cbParms,   dwInterleaveEvery};
    std::array<uint8_t, kRecordSize> out{};
    for (int f = 0; f < 11; ++f)
        for (int b = 0; b < 4; ++b)
            out[f * 4 + b] = uint8_t(fields[f] >> (8 * b));
    return out;
}

CompressionOptions CompressionOptions::fromRecord(const std::vector<uint8_t>& record)
{
    if (record.size() != kRecordSize)
        return {};
    uint32_t f[11];
    for (int i = 0; i < 11; ++i)
        f[i] = uint32_t(record[i * 4]) | (uint32_t(record[i * 4 + 1]) << 8) | (uint32_t(record[i * 4 + 2]) << 16) |
               (uint32_t(record[i * 4 + 3]) << 24);
    CompressionOptions o;
    if (!(f[5] & kCompressValid))
        return o;
    o.fccType = f[0];
    o.fccHandler = f[1];
    o.dwKeyFrameEvery = f[2];
    o.dwQuality = f[3];
    o.dwBytesPerSecond = f[4];
    o.dwFlags = f[5];
    o.lpFormat = f[6];
    o.cbFormat = f[7];
    o.dwInterleaveEvery = f[10];
    return o;
}

namespace {

// "Full Frames (Uncompressed)" is there from the start; the encoders join on the first look at the
// whole list (which loads the codec module). The room reserved keeps every entry where it is.
std::vector<CompressorInfo>& compressorList()
{
    static std::vector<CompressorInfo> list = [] {
        std::vector<CompressorInfo> l;
        l.reserve(32);
        l.push_back({kFccDib, "dib", "Full Frames (Uncompressed)", 0});
        return l;
    }();
    return list;
}

} // namespace

const std::vector<CompressorInfo>& availableCompressors()
{
    static std::once_flag once;
    std::vector<CompressorInfo>& list = compressorList();
    std::call_once(once, [&list] {
        std::vector<CompressorInfo> encoders;
        if (const CodecModule* module = codecModule())
            module->appendCompressors(encoders);
        for (const CompressorInfo& c : encoders)
            if (list.size() < list.capacity())
                list.push_back(c);
    });
    return list;
}

const CompressorInfo* findCompressor(const std::string& nameOrFourCc)
{
    auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char ch) { return char(std::tolower(ch)); });
        return s;
    };
    auto matches = [&](const CompressorInfo& c) {
        return lower(c.name) == lower(nameOrFourCc) || c.description == nameOrFourCc ||
               fourCcText(c.fourCc) == nameOrFourCc;
    };
    const CompressorInfo& uncompressed = compressorList().front(); // known without the codec module
    if (matches(uncompressed))
        return &uncompressed;
    for (const CompressorInfo& c : availableCompressors())
        if (matches(c))
            return &c;
    return nullptr;
}

const CompressorInfo* findCompressor(uint32_t fourCc)
{
    if (fourCc == kFccDib)
        return &compressorList().front();
    for (const CompressorInfo& c : availableCompressors())
        if (c.fourCc == fourCc)
            return &c;
    return nullptr;
}

} // namespace reelcast
