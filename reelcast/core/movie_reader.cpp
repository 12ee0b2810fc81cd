#include "core/movie_reader.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace reelcast {
namespace {

constexpr int kSubmodeAudio = 0x64;
constexpr long kSectorRest = MovieReader::kSectorSize - MovieReader::kSectorHeadSize;  // 2296

uint16_t readU16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
int32_t readS32(const uint8_t* p) {
    return int32_t(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24));
}

// The chunk header starts 24 bytes into the sector.
const uint8_t* chunkHeader(const uint8_t* head) { return head + 24; }

bool startsLikeVideo(const uint8_t* header) { return header[0] == 0x60 && header[1] == 0x01; }

}  // namespace

bool isVideoSector(const uint8_t* head) {
    const uint8_t* h = chunkHeader(head);
    return startsLikeVideo(h) && readU16(h + 2) == 0x8001;
}

bool isAudioSector(const uint8_t* head) { return head[18] == kSubmodeAudio || head[22] == kSubmodeAudio; }

const char* movieStatusMessage(int status) {
    switch (status) {
    case kMovieOpenError: return "File open ERROR.";
    case kMovieFormatError: return "This file isn't PSX movie file format.";
    case kMovieReadError: return "File read ERROR.";
    case kMovieSeekError: return "File seek ERROR.";
    default: return "";
    }
}

int32_t automaticFrameRate(int32_t maxChunks) {
    if (maxChunks <= 5) return 30;
    if (maxChunks <= 7) return 20;
    if (maxChunks <= 10) return 15;
    if (maxChunks <= 15) return 10;
    return 0;
}

MovieReader::MovieReader() : frame_(kFrameBufferSize, 0), audioSector_(kSectorSize, 0) {}

MovieReader::~MovieReader() { close(); }

void MovieReader::close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

int MovieReader::readBytes(void* dst, size_t n) {
    return std::fread(dst, 1, n, file_) == n ? kMovieOk : kMovieReadError;
}

int MovieReader::skipBytes(long n) { return fseeko(file_, n, SEEK_CUR) == 0 ? kMovieOk : kMovieSeekError; }

int MovieReader::seekTo(int64_t offset) {
    if (offset < 0) return kMovieSeekError;
    return fseeko(file_, off_t(offset), SEEK_SET) == 0 ? kMovieOk : kMovieSeekError;
}

int MovieReader::readSectorHead() {
    if (int st = readBytes(head_, kSectorHeadSize)) return st;
    std::memcpy(header_, chunkHeader(head_), sizeof header_);
    return kMovieOk;
}

int MovieReader::open(const std::string& path) {
    close();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return kMovieOpenError;
    return openStream(f);
}

// Encoders may put audio (or other) sectors ahead of the first video sector: the picture size comes
// from the first video sector, and the first frame starts there.
int MovieReader::readFirstVideoSector() {
    for (int64_t k = 0;; ++k) {
        if (readSectorHead() != kMovieOk) return k == 0 ? kMovieReadError : kMovieFormatError;
        if (isVideoSector(head_)) {
            if (k > INT32_MAX) return kMovieFormatError;
            info_.firstVideoSector = int32_t(k);
            info_.width = readU16(header_ + 16);
            info_.height = readU16(header_ + 18);
            return kMovieOk;
        }
        if (int st = skipBytes(kSectorRest)) return st;
    }
}

int MovieReader::openStream(std::FILE* stream) {
    if (file_ != stream) close();
    file_ = stream;
    if (!file_) return kMovieOpenError;
    info_ = MovieInfo{};
    frameSize_ = 0;
    std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);

    int st = [&] {
        uint8_t riff[kHeaderSize];
        if (int e = readBytes(riff, kHeaderSize)) return e;
        if (std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "CDXA", 4) != 0) return int(kMovieFormatError);
        if (int e = readFirstVideoSector()) return e;
        if (fseeko(file_, 0, SEEK_END) != 0) return int(kMovieSeekError);
        off_t size = ftello(file_);
        if (size < 0) return int(kMovieSeekError);
        if (int e = seekTo(kHeaderSize)) return e;
        int64_t payload = int64_t(size) - kHeaderSize;
        if (payload % kSectorSize != 0 || payload / kSectorSize > INT32_MAX) return int(kMovieFormatError);
        info_.sectorCount = info_.sectorsLeft = int32_t(payload / kSectorSize);
        info_.framesRead = 0;
        return int(kMovieOk);
    }();
    if (st != kMovieOk) close();
    return st;
}

int MovieReader::rewind() {
    if (!file_) return kMovieSeekError;
    return seekTo(kHeaderSize);
}

int MovieReader::findAudioTrack() {
    if (int st = rewind()) return st;
    AudioTrackInfo& a = info_.audio;
    a = AudioTrackInfo{};
    for (int32_t i = 0; i < info_.sectorCount; ++i) {
        if (int st = readSectorHead()) return st;
        if (isAudioSector(head_)) {
            if (a.firstSector >= 0) {
                a.stride = i - a.firstSector;
                break;
            }
            a.firstSector = i;
            a.sampleRate = (head_[19] & 0x04) ? 18900 : 37800;
            a.channels = (head_[19] & 0x01) + 1;
            a.fileNumber = head_[16];
            a.channelNumber = head_[17];
        }
        if (int st = skipBytes(kSectorRest)) return st;
    }
    return rewind();
}

int MovieReader::scanFrames(const ProgressFn& progress, const std::atomic<bool>* cancel) {
    if (int st = findAudioTrack()) return st;
    if (int st = rewind()) return st;
    const int32_t n = info_.sectorCount;
    int32_t highest = 0, maxChunks = 0;
    int lastPercent = -1;
    for (int32_t i = 0; i < n; ++i) {
        if (cancel && cancel->load()) return kMovieScanCancelled;
        if (readSectorHead() != kMovieOk) return kMovieReadError;
        if (isVideoSector(head_)) {
            highest = std::max(highest, readS32(header_ + 8));
            if (highest > n) return kMovieReadError;  // a frame number no file of this size can hold
            maxChunks = std::max<int32_t>(maxChunks, readU16(header_ + 6));
        }
        if (skipBytes(kSectorRest) != kMovieOk) return kMovieSeekError;
        int percent = int(double(i) / double(n) * 100.0);
        if (percent != lastPercent) {
            lastPercent = percent;
            if (progress) progress(percent);
        }
    }
    info_.totalFrames = highest;
    info_.maxChunks = maxChunks;
    info_.frameRate = automaticFrameRate(maxChunks);
    return rewind();
}

int MovieReader::readNextFrame() {
    if (!file_) return kMovieReadError;
    uint8_t scratch[kSectorRest];
    frameSize_ = 0;
    if (info_.framesRead == 0) {
        if (int st = seekTo(kHeaderSize + int64_t(kSectorSize) * info_.firstVideoSector)) return st;
        if (int st = readSectorHead()) return st;
        if (!isVideoSector(head_)) return kMovieFormatError;
    } else {
        if (int st = readSectorHead()) return st;
        if (!startsLikeVideo(header_)) {
            if (int st = readBytes(scratch, kSectorRest)) return st;
            if (int st = readSectorHead()) return st;
            if (!isVideoSector(head_)) return kMovieFormatError;
        }
    }
    if (int st = readBytes(frame_.data(), kChunkDataSize)) return st;
    frameSize_ = kChunkDataSize;
    const int32_t count = readU16(header_ + 6);
    int32_t chunksRead = 1;
    for (;;) {
        if (int st = skipBytes(kChunkTailSize)) return st;
        if (chunksRead >= count) {
            info_.framesRead += 1;
            info_.sectorsLeft -= count;
            return info_.sectorsLeft <= 0 ? kMovieEnd : kMovieOk;
        }
        if (int st = readSectorHead()) return st;
        if (!isVideoSector(head_)) {  // one audio (or other) sector between two chunks is stepped over
            if (int st = readBytes(scratch, kSectorRest)) return st;
            if (int st = readSectorHead()) return st;
        }
        // Chunks past the buffer's 256 are read and dropped so that the next frame starts in place.
        if (frameSize_ < kFrameBufferSize) {
            if (int st = readBytes(frame_.data() + frameSize_, kChunkDataSize)) return st;
            frameSize_ += kChunkDataSize;
        } else if (int st = readBytes(scratch, kChunkDataSize)) {
            return st;
        }
        ++chunksRead;
    }
}

int MovieReader::readAudioSector(int32_t sector) {
    if (!file_) return kMovieReadError;
    if (sector < 0) return kMovieSeekError;
    off_t here = ftello(file_);
    if (here < 0) return kMovieSeekError;
    int st = seekTo(kHeaderSize + int64_t(kSectorSize) * sector);
    if (st == kMovieOk) st = readBytes(audioSector_.data(), kSectorSize);
    // The position is restored whatever happened, so that frame reading goes on undisturbed.
    if (fseeko(file_, here, SEEK_SET) != 0 && st == kMovieOk) st = kMovieSeekError;
    return st;
}

}  // namespace reelcast
