#include "core/compression_options.h"

#include <algorithm>
#include <cctype>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

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

const std::vector<CompressorInfo>& availableCompressors()
{
    static const std::vector<CompressorInfo> list = [] {
        std::vector<CompressorInfo> l;
        l.push_back({kFccDib, "dib", "Full Frames (Uncompressed)", 0});
        struct Candidate {
            AVCodecID id;
            const char* name;
            const char* fourCc;
            const char* description;
        };
        static constexpr Candidate kCandidates[] = {
            {AV_CODEC_ID_MJPEG, "mjpeg", "MJPG", "Motion JPEG"},
            {AV_CODEC_ID_FFV1, "ffv1", "FFV1", "FFV1 (lossless)"},
            {AV_CODEC_ID_HUFFYUV, "huffyuv", "HFYU", "HuffYUV (lossless)"},
            {AV_CODEC_ID_MPEG4, "mpeg4", "FMP4", "MPEG-4 part 2"},
            {AV_CODEC_ID_MSMPEG4V3, "msmpeg4", "DIV3", "MPEG-4 part 2 (Microsoft variant 3)"},
            {AV_CODEC_ID_MPEG2VIDEO, "mpeg2video", "MPG2", "MPEG-2 video"},
            {AV_CODEC_ID_H264, "h264", "H264", "H.264"},
            {AV_CODEC_ID_UTVIDEO, "utvideo", "ULRG", "Ut Video (lossless)"},
        };
        const AVOutputFormat* avi = av_guess_format("avi", nullptr, nullptr);
        for (const Candidate& c : kCandidates) {
            if (!avcodec_find_encoder(c.id))
                continue;
            if (avi && avformat_query_codec(avi, c.id, FF_COMPLIANCE_NORMAL) != 1)
                continue;
            l.push_back({makeFourCc(*reinterpret_cast<const char(*)[5]>(c.fourCc)), c.name, c.description, int(c.id)});
        }
        return l;
    }();
    return list;
}

const CompressorInfo* findCompressor(const std::string& nameOrFourCc)
{
    auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char ch) { return char(std::tolower(ch)); });
        return s;
    };
    for (const CompressorInfo& c : availableCompressors())
        if (lower(c.name) == lower(nameOrFourCc) || c.description == nameOrFourCc ||
            fourCcText(c.fourCc) == nameOrFourCc)
            return &c;
    return nullptr;
}

const CompressorInfo* findCompressor(uint32_t fourCc)
{
    for (const CompressorInfo& c : availableCompressors())
        if (c.fourCc == fourCc)
            return &c;
    return nullptr;
}

} // namespace reelcast
