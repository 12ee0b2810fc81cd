#pragma once
// The video compression options of a conversion, kept and stored as the 44-byte AVICOMPRESSOPTIONS
// record (eleven little-endian 32-bit fields), and the compressors this machine can write into an AVI.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace reelcast {

constexpr uint32_t makeFourCc(const char (&s)[5])
{
    return uint32_t(uint8_t(s[0])) | (uint32_t(uint8_t(s[1])) << 8) | (uint32_t(uint8_t(s[2])) << 16) |
           (uint32_t(uint8_t(s[3])) << 24);
}
std::string fourCcText(uint32_t fourCc);

inline constexpr uint32_t kFccVids = makeFourCc("vids");
inline constexpr uint32_t kFccDib = makeFourCc("DIB ");

inline constexpr uint32_t kCompressKeyFrames = 0x4; // AVICOMPRESSF_KEYFRAMES
inline constexpr uint32_t kCompressDataRate = 0x2;  // AVICOMPRESSF_DATARATE
inline constexpr uint32_t kCompressValid = 0x8;     // AVICOMPRESSF_VALID

struct CompressionOptions {
    static constexpr size_t kRecordSize = 44;

    uint32_t fccType = kFccVids;
    uint32_t fccHandler = kFccDib;
    uint32_t dwKeyFrameEvery = 4;
    uint32_t dwQuality = 10000;
    uint32_t dwBytesPerSecond = 307200;
    uint32_t dwFlags = kCompressDataRate | kCompressKeyFrames | kCompressValid;
    uint32_t lpFormat = 0, cbFormat = 0, lpParms = 0, cbParms = 0, dwInterleaveEvery = 0;

    bool compressing() const { return fccHandler != kFccDib; }
    std::array<uint8_t, kRecordSize> toRecord() const;
    // The stored record, or the defaults when it is not 44 bytes long or lacks the valid flag. The
    // parameter block it pointed to is never kept across runs, so lpParms and cbParms come back 0.
    static CompressionOptions fromRecord(const std::vector<uint8_t>& record);
    bool operator==(const CompressionOptions&) const = default;
};

// A compressor the AVI writer can use: "DIB " (uncompressed) or a libavcodec encoder.
struct CompressorInfo {
    uint32_t fourCc = kFccDib;
    std::string name;        // the short name used on the command line ("dib", "mjpeg", ...)
    std::string description; // what the chooser lists
    int codecId = 0;         // AVCodecID; 0 for uncompressed
};

// "Full Frames (Uncompressed)" first, then the encoders the AVI muxer accepts and this FFmpeg has.
const std::vector<CompressorInfo>& availableCompressors();
// By command-line name (case-insensitive) or four-character code; null when unknown.
const CompressorInfo* findCompressor(const std::string& nameOrFourCc);
const CompressorInfo* findCompressor(uint32_t fourCc);

} // namespace reelcast
