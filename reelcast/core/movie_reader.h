#pragma once
// Reader of PlayStation CD movie files (.STR/.MOV): a 44-byte RIFF "CDXA" header followed by raw
// 2352-byte CD-XA sectors. It checks a file, scans it for the frame count and the audio track, and
// assembles one frame's compressed data at a time for FrameDecoder.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace reelcast {

// Status codes of every reader operation (0 = success).
enum MovieStatus : int {
    kMovieOk = 0,
    kMovieOpenError = -1,
    kMovieFormatError = -2,
    kMovieReadError = -3,
    kMovieSeekError = -4,
    kMovieEnd = -6,          // the frame was read and the sector budget is used up
    kMovieScanCancelled = 1, // scanFrames stopped by its cancel flag; no result
};

// The message the user sees for a status of open (empty for statuses without one).
const char* movieStatusMessage(int status);

struct AudioTrackInfo {
    int32_t firstSector = -1; // -1 when the file has no audio sector
    int32_t stride = 0;       // sectors from the first audio sector to the next; 0 if only one
    int32_t sampleRate = 0;   // 37800 or 18900
    int32_t channels = 0;     // 1 or 2
    int32_t fileNumber = 0;
    int32_t channelNumber = 0;
};

struct MovieInfo {
    uint32_t width = 0, height = 0; // from the first video sector
    int32_t sectorCount = 0;
    int32_t sectorsLeft = 0;
    int32_t framesRead = 0;
    int32_t totalFrames = 0;      // highest frame number met by the scan
    int32_t maxChunks = 0;        // largest chunk count met by the scan
    int32_t frameRate = 0;        // automatic frame rate from maxChunks; 0 when unusable
    int32_t firstVideoSector = 0; // where the first frame starts
    AudioTrackInfo audio;
    // Beyond the file's own fields: what the scan learnt about damage and timing.
    int32_t truncatedBytes = 0; // bytes of an incomplete last sector (left out of sectorCount)
    int32_t damagedHeaders = 0; // video sectors whose frame number no file of this size can hold
    int32_t frameStarts = 0;    // video sectors with chunk number 0
    int32_t firstFrameStart = -1, lastFrameStart = -1;
    int32_t discSpeed = 0;     // 75 or 150 sectors per second from the sound track; 0 unknown
    int32_t discFrameRate = 0; // frames per second from the disc timing; 0 when unknown
};

// What the user should know about a scanned movie beyond its numbers: a cut file, damaged frame
// headers. Shown on standard error and in the window's information box.
std::vector<std::string> movieNotes(const MovieInfo& info);

// Frames per second chosen from the largest number of sectors one frame takes.
int32_t automaticFrameRate(int32_t maxChunks);
// The disc's speed in sectors per second fixed by a sound track (its sectors must arrive as fast as
// they are played): 75 or 150, or 0 when the track gives neither.
int32_t discSpeedOf(const AudioTrackInfo& audio);
// Frames per second from the disc speed and the spacing of the frame starts; 0 when unknown.
int32_t discFrameRateOf(int32_t discSpeed, int32_t frameStarts, int32_t firstStart, int32_t lastStart);

class MovieReader {
public:
    static constexpr int kHeaderSize = 44;
    static constexpr int kSectorSize = 2352;
    static constexpr int kSectorHeadSize = 56; // sector header, subheader twice, chunk header
    static constexpr int kChunkDataSize = 2016;
    static constexpr int kChunkTailSize = 280;
    static constexpr int kMaxChunks = 256;
    static constexpr size_t kFrameBufferSize = size_t(kMaxChunks) * kChunkDataSize;

    using ProgressFn = std::function<void(int percent)>;

    MovieReader();
    ~MovieReader();
    MovieReader(const MovieReader&) = delete;
    MovieReader& operator=(const MovieReader&) = delete;

    // Strict: a file cut inside a sector, or a frame number beyond the file, is refused as the
    // format has it; otherwise the whole sectors are read and such headers are counted as damaged.
    void setStrict(bool strict) { strict_ = strict; }
    bool strict() const { return strict_; }

    int open(const std::string& path);
    // As open, for a stream the caller opened for binary reading; the reader owns it from here
    // (also on failure, when it is closed).
    int openStream(std::FILE* stream);
    int scanFrames(const ProgressFn& progress = {}, const std::atomic<bool>* cancel = nullptr);
    int findAudioTrack();
    int rewind();
    int readNextFrame();
    int readAudioSector(int32_t sector);
    void close();

    bool isOpen() const { return file_ != nullptr; }
    const MovieInfo& info() const { return info_; }

    // The last frame's data: its chunks' payloads concatenated (at most kFrameBufferSize bytes).
    const uint8_t* frameData() const { return frame_.data(); }
    size_t frameSize() const { return frameSize_; }
    const uint8_t* currentHeader() const { return header_; } // 32-byte chunk header
    const uint8_t* audioSector() const { return audioSector_.data(); }
    // The last frame read had chunks that do not belong together (other frame number or count,
    // chunk numbers out of order, a missing video sector) or could not be read whole.
    bool frameDamaged() const { return frameDamaged_; }
    // Device and inode of the open file, to recognise the same file under another name.
    bool sameFile(const std::string& path) const;

private:
    int readBytes(void* dst, size_t n);
    int skipBytes(long n);
    int readSectorHead(); // 56 bytes into head_, chunk header copied to header_
    int seekTo(int64_t offset);
    int readFirstVideoSector();
    int readSector(int32_t sector); // a whole sector of the file; its head into head_ and header_
    int findFrameStart();
    int finishFrame(int status);
    void scanTiming();

    std::FILE* file_ = nullptr;
    MovieInfo info_;
    std::vector<uint8_t> frame_;
    std::vector<uint8_t> audioSector_;
    std::vector<uint8_t> streamBuffer_; // the stream's own buffer (a size given without one is ignored)
    size_t frameSize_ = 0;
    uint8_t head_[kSectorHeadSize] = {};
    uint8_t header_[32] = {};
    bool strict_ = false;
    bool frameDamaged_ = false;
    int32_t nextSector_ = 0;      // the sector readNextFrame looks at next
    int32_t positionSector_ = -1; // the sector the stream stands at (-1: not at a sector start)
    uint8_t sector_[kSectorSize] = {};
    uint64_t device_ = 0, inode_ = 0;
};

// Sector classification on the first 56 bytes of a raw sector.
bool isVideoSector(const uint8_t* head);
// An audio sector by its submode's audio and form bits; its end-of-record and end-of-file bits
// (the last sector of a track usually carries end-of-file) do not matter.
bool isAudioSubmode(uint8_t submode);
bool isAudioSector(const uint8_t* head);

} // namespace reelcast
