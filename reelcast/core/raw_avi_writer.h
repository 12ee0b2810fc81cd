#pragma once
// Writer of an uncompressed AVI file of our own: 24-bit bottom-up bitmaps (handler "DIB ", every
// frame a key frame) and optional 16-bit PCM sound, chunks in the order they are handed in. The
// layout is the one libavformat's AVI muxer gives such a file, so players see nothing new: room for
// the OpenDML super indexes in the header, an idx1 index, and past 1 GiB further "AVIX" parts with
// a standard index (ix00, ix01) per stream and part. Conversions without a compressor thus need
// none of FFmpeg's libraries.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/version.h"

namespace reelcast {

// A part (RIFF) is closed once it grows past this many bytes.
inline constexpr uint64_t kAviPartBytes = uint64_t(1) << 30;

struct RawAviFormat {
    uint32_t width = 0, height = 0;
    int32_t frameRate = 15;
    int audioChannels = 0; // 0: no sound stream
    int audioRate = 44100;
    std::string software = kSoftwareName; // the file's ISFT entry
    uint64_t partBytes = kAviPartBytes;
};

class RawAviWriter {
public:
    // Room for this many parts in each stream's super index (256 GiB).
    static constexpr int kMaxParts = 256;

    // fd is open for writing on an empty file and stays the caller's. False when a write failed.
    bool open(int fd, const RawAviFormat& format);
    // One bitmap as written, rows padded to four bytes.
    bool writeVideo(const uint8_t* data, uint32_t size);
    // frames sample frames of interleaved 16-bit samples.
    bool writeAudio(const int16_t* samples, int frames);
    // Writes the indexes and the counts in the header: the file is complete after this.
    bool finish();
    // The errno of the last failed write.
    int lastError() const { return error_; }

private:
    struct Entry {
        uint64_t position; // of the chunk's tag
        uint32_t size;
    };
    struct PartIndex {
        uint64_t position; // of the ix chunk
        uint32_t size;     // with its header
        uint32_t duration; // frames, or sample frames
    };
    struct Stream {
        char tag[4];
        size_t lengthField = 0, bufferField = 0, indexChunk = 0; // header offsets
        std::vector<Entry> part;                                 // this part's chunks
        std::vector<PartIndex> parts;
        uint64_t partDuration = 0, totalDuration = 0;
        uint32_t largest = 0;
    };

    bool writeChunk(Stream& s, const void* data, uint32_t size, uint32_t duration);
    bool writeAll(const void* data, size_t size);
    bool patch32(uint64_t position, uint32_t value);
    bool startPart();
    bool endPart(bool last);
    bool writeStandardIndex(Stream& s);
    bool writeIdx1();
    bool writeSuperIndexes();
    bool fail(int error);

    int fd_ = -1;
    int error_ = 0;
    uint64_t pos_ = 0;
    uint64_t riffTag_ = 0, moviTag_ = 0; // positions of the current part's RIFF and LIST movi tags
    uint64_t partBytes_ = kAviPartBytes;
    int parts_ = 0;
    uint32_t audioBlockAlign_ = 0;
    size_t totalFramesField_ = 0, odmlChunk_ = 0;
    uint32_t firstPartFrames_ = 0;
    std::vector<Stream> streams_;
    struct Idx1Entry {
        uint8_t stream;
        Entry chunk;
    };
    std::vector<Idx1Entry> idx1_; // the first part's chunks in file order
};

} // namespace reelcast
