#include "core/movie_reader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>

namespace reelcast {
namespace {

constexpr int kSubmodeAudio = 0x64;   // real-time, form 2, audio
constexpr int kSubmodeEndBits = 0x81; // end of file, end of record
constexpr int kSamplesPerAudioSector = 4032;
constexpr long kSectorRest = MovieReader::kSectorSize - MovieReader::kSectorHeadSize; // 2296

uint16_t readU16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
int32_t readS32(const uint8_t* p)
{
    return int32_t(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24));
}

// The chunk header starts 24 bytes into the sector.
const uint8_t* chunkHeader(const uint8_t* head) { return head + 24; }

bool startsLikeVideo(const uint8_t* header) { return header[0] == 0x60 && header[1] == 0x01; }

} // namespace

bool isVideoSector(const uint8_t* head)
{
    const uint8_t* h = chunkHeader(head);
    return startsLikeVideo(h) && readU16(h + 2) == 0x8001;
}

bool isAudioSubmode(uint8_t submode) { return (submode & ~kSubmodeEndBits) == kSubmodeAudio; }

bool isAudioSector(const uint8_t* head) { return isAudioSubmode(head[18]) || isAudioSubmode(head[22]); }

std::vector<std::string> movieNotes(const MovieInfo& info)
{
    std::vector<std::string> notes;
    if (info.truncatedBytes > 0)
        notes.push_back("The file is truncated: its last sector has only " + std::to_string(info.truncatedBytes) +
                        " of 2352 bytes; the " + std::to_string(info.sectorCount) +
                        (info.sectorCount == 1 ? " whole sector is" : " whole sectors are") + " converted.");
    if (info.damagedHeaders > 0)
        notes.push_back(std::to_string(info.damagedHeaders) + " damaged frame header" +
                        (info.damagedHeaders == 1 ? "" : "s") + " (frame number beyond the file) left out.");
    return notes;
}

int32_t discSpeedOf(const AudioTrackInfo& a)
{
    if (a.firstSector < 0 || a.stride <= 0 || a.sampleRate <= 0 || a.channels <= 0)
        return 0;
    // A sector holds 4032 samples: channels x sampleRate samples a second need this many sectors.
    const int64_t perSecond = int64_t(a.stride) * a.sampleRate * a.channels;
    for (int32_t speed : {75, 150})
        if (perSecond == int64_t(speed) * kSamplesPerAudioSector)
            return speed;
    return 0;
}

int32_t discFrameRateOf(int32_t discSpeed, int32_t frameStarts, int32_t firstStart, int32_t lastStart)
{
    if (discSpeed <= 0 || frameStarts < 2 || lastStart <= firstStart)
        return 0;
    const double rate = double(discSpeed) * (frameStarts - 1) / double(lastStart - firstStart);
    const int32_t rounded = int32_t(std::lround(rate));
    return rounded >= 1 && rounded <= 60 ? rounded : 0;
}

const char* movieStatusMessage(int status)
{
    switch (status) {
    case kMovieOpenError: return "File open ERROR.";
    case kMovieFormatError: return "This file isn't PSX movie file format.";
    case kMovieReadError: return "File read ERROR.";
    case kMovieSeekError: return "File seek ERROR.";
    default: return "";
    }
}

int32_t automaticFrameRate(int32_t maxChunks)
{
    if (maxChunks <= 5)
        return 30;
    if (maxChunks <= 7)
        return 20;
    if (maxChunks <= 10)
        return 15;
    if (maxChunks <= 15)
        return 10;
    return 0;
}

MovieReader::MovieReader() : frame_(kFrameBufferSize, 0), audioSector_(kSectorSize, 0), streamBuffer_(1 << 16) {}

MovieReader::~MovieReader() { close(); }

void MovieReader::close()
{
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
}

int MovieReader::readBytes(void* dst, size_t n)
{
    return std::fread(dst, 1, n, file_) == n ? kMovieOk : kMovieReadError;
}

int MovieReader::skipBytes(long n) { return fseeko(file_, n, SEEK_CUR) == 0 ? kMovieOk : kMovieSeekError; }

int MovieReader::seekTo(int64_t offset)
{
    if (offset < 0)
        return kMovieSeekError;
    return fseeko(file_, off_t(offset), SEEK_SET) == 0 ? kMovieOk : kMovieSeekError;
}

int MovieReader::readSectorHead()
{
    if (int st = readBytes(head_, kSectorHeadSize))
        return st;
    std::memcpy(header_, chunkHeader(head_), sizeof header_);
    return kMovieOk;
}

int MovieReader::open(const std::string& path)
{
    close();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return kMovieOpenError;
    return openStream(f);
}

// Encoders may put audio (or other) sectors ahead of the first video sector: the picture size comes
// from the first video sector, and the first frame starts there.
int MovieReader::readFirstVideoSector()
{
    for (int64_t k = 0;; ++k) {
        if (readSectorHead() != kMovieOk)
            return k == 0 ? kMovieReadError : kMovieFormatError;
        if (isVideoSector(head_)) {
            if (k > INT32_MAX)
                return kMovieFormatError;
            info_.firstVideoSector = int32_t(k);
            info_.width = readU16(header_ + 16);
            info_.height = readU16(header_ + 18);
            return kMovieOk;
        }
        if (int st = skipBytes(kSectorRest))
            return st;
    }
}

int MovieReader::openStream(std::FILE* stream)
{
    if (file_ != stream)
        close();
    file_ = stream;
    if (!file_)
        return kMovieOpenError;
    info_ = MovieInfo{};
    frameSize_ = 0;
    std::setvbuf(file_, reinterpret_cast<char*>(streamBuffer_.data()), _IOFBF, streamBuffer_.size());

    int st = [&] {
        uint8_t riff[kHeaderSize];
        if (int e = readBytes(riff, kHeaderSize))
            return e;
        if (std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "CDXA", 4) != 0)
            return int(kMovieFormatError);
        if (int e = readFirstVideoSector())
            return e;
        if (fseeko(file_, 0, SEEK_END) != 0)
            return int(kMovieSeekError);
        off_t size = ftello(file_);
        if (size < 0)
            return int(kMovieSeekError);
        if (int e = rewind())
            return e;
        int64_t payload = int64_t(size) - kHeaderSize;
        if (payload / kSectorSize > INT32_MAX)
            return int(kMovieFormatError);
        // A file cut inside a sector keeps its whole sectors (the first one is whole: it was read).
        if (payload % kSectorSize != 0 && strict_)
            return int(kMovieFormatError);
        info_.truncatedBytes = int32_t(payload % kSectorSize);
        info_.sectorCount = info_.sectorsLeft = int32_t(payload / kSectorSize);
        info_.framesRead = 0;
        nextSector_ = 0;
        struct stat st {};
        if (fstat(fileno(file_), &st) == 0) {
            device_ = uint64_t(st.st_dev);
            inode_ = uint64_t(st.st_ino);
        }
        return int(kMovieOk);
    }();
    if (st != kMovieOk)
        close();
    return st;
}

bool MovieReader::sameFile(const std::string& path) const
{
    struct stat st {};
    return file_ && stat(path.c_str(), &st) == 0 && uint64_t(st.st_dev) == device_ && uint64_t(st.st_ino) == inode_;
}

int MovieReader::rewind()
{
    positionSector_ = -1;
    if (!file_)
        return kMovieSeekError;
    if (int st = seekTo(kHeaderSize))
        return st;
    positionSector_ = 0;
    return kMovieOk;
}

int MovieReader::findAudioTrack()
{
    if (int st = rewind())
        return st;
    AudioTrackInfo& a = info_.audio;
    a = AudioTrackInfo{};
    for (int32_t i = 0; i < info_.sectorCount; ++i) {
        if (int st = readSector(i))
            return st;
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
    }
    return rewind();
}

int MovieReader::scanFrames(const ProgressFn& progress, const std::atomic<bool>* cancel)
{
    if (int st = findAudioTrack())
        return st;
    if (int st = rewind())
        return st;
    const int32_t n = info_.sectorCount;
    int32_t highest = 0, maxChunks = 0;
    int32_t lastNumber = 0;
    bool lastComplete = true; // the last video sector met was its frame's last chunk
    info_.damagedHeaders = info_.frameStarts = 0;
    info_.firstFrameStart = info_.lastFrameStart = -1;
    int lastPercent = -1;
    for (int32_t i = 0; i < n; ++i) {
        if (cancel && cancel->load())
            return kMovieScanCancelled;
        if (int st = readSector(i))
            return st;
        if (isVideoSector(head_)) {
            const int32_t number = readS32(header_ + 8);
            if (number > n) { // a frame number no file of this size can hold: a damaged header
                if (strict_)
                    return kMovieReadError;
                ++info_.damagedHeaders;
            } else {
                highest = std::max(highest, number);
                maxChunks = std::max<int32_t>(maxChunks, readU16(header_ + 6));
                if (readU16(header_ + 4) == 0) {
                    if (info_.firstFrameStart < 0)
                        info_.firstFrameStart = i;
                    info_.lastFrameStart = i;
                    ++info_.frameStarts;
                }
                lastNumber = number;
                lastComplete = readU16(header_ + 4) + 1 >= readU16(header_ + 6);
            }
        }
        int percent = int(double(i) / double(n) * 100.0);
        if (percent != lastPercent) {
            lastPercent = percent;
            if (progress)
                progress(percent);
        }
    }
    // A cut file's last frame counts only when all its chunks are in the file.
    if (info_.truncatedBytes > 0 && !lastComplete && lastNumber == highest && highest > 0)
        --highest;
    info_.totalFrames = highest;
    info_.maxChunks = maxChunks;
    info_.frameRate = automaticFrameRate(maxChunks);
    info_.discSpeed = discSpeedOf(info_.audio);
    info_.discFrameRate =
        discFrameRateOf(info_.discSpeed, info_.frameStarts, info_.firstFrameStart, info_.lastFrameStart);
    return rewind();
}

// Whole sectors are read, one after the other without a seek while the reading goes forward.
int MovieReader::readSector(int32_t sector)
{
    if (sector < 0 || sector >= info_.sectorCount)
        return kMovieReadError; // past the whole sectors
    if (sector != positionSector_) {
        positionSector_ = -1;
        if (int st = seekTo(kHeaderSize + int64_t(kSectorSize) * sector))
            return st;
    }
    positionSector_ = -1;
    if (int st = readBytes(sector_, kSectorSize))
        return st;
    positionSector_ = sector + 1;
    std::memcpy(head_, sector_, kSectorHeadSize);
    std::memcpy(header_, chunkHeader(sector_), sizeof header_);
    return kMovieOk;
}

// Leaves the head of the frame's first sector in head_ and nextSector_ on it. The format steps over
// one non-video sector before a frame; past that the strict reader refuses, the other one looks on
// for the next frame's first chunk (several sound tracks put sound sectors side by side, and after
// damage this finds the way back).
int MovieReader::findFrameStart()
{
    if (info_.framesRead == 0) {
        nextSector_ = info_.firstVideoSector;
        if (int st = readSector(nextSector_))
            return st;
        return isVideoSector(head_) ? int(kMovieOk) : int(kMovieFormatError);
    }
    if (int st = readSector(nextSector_))
        return st;
    if (startsLikeVideo(header_))
        return kMovieOk;
    ++nextSector_;
    if (int st = readSector(nextSector_))
        return st;
    if (isVideoSector(head_))
        return kMovieOk;
    if (strict_)
        return kMovieFormatError;
    for (++nextSector_; nextSector_ < info_.sectorCount; ++nextSector_) {
        if (int st = readSector(nextSector_))
            return st;
        if (isVideoSector(head_) && readU16(header_ + 4) == 0)
            return kMovieOk;
    }
    return kMovieReadError;
}

int MovieReader::finishFrame(int status)
{
    if (status != kMovieOk)
        frameDamaged_ = true;
    return status;
}

int MovieReader::readNextFrame()
{
    frameSize_ = 0;
    frameDamaged_ = false;
    if (!file_)
        return kMovieReadError;
    if (int st = findFrameStart())
        return finishFrame(st);
    uint8_t first[32];
    std::memcpy(first, header_, sizeof first);
    if (readU16(first + 4) != 0)
        frameDamaged_ = true;
    std::memcpy(frame_.data(), sector_ + kSectorHeadSize, kChunkDataSize);
    frameSize_ = kChunkDataSize;
    ++nextSector_;
    const int32_t count = readU16(first + 6);
    for (int32_t chunksRead = 1; chunksRead < count; ++chunksRead) {
        if (int st = readSector(nextSector_))
            return finishFrame(st);
        if (!isVideoSector(head_)) { // one audio (or other) sector between two chunks is stepped over
            ++nextSector_;
            if (int st = readSector(nextSector_))
                return finishFrame(st);
        }
        if (!isVideoSector(head_) || readS32(header_ + 8) != readS32(first + 8) || readU16(header_ + 6) != count ||
            readU16(header_ + 4) != chunksRead)
            frameDamaged_ = true;
        // Chunks past the buffer's 256 are dropped; their sectors still count, so the next frame
        // starts in place.
        if (frameSize_ < kFrameBufferSize) {
            std::memcpy(frame_.data() + frameSize_, sector_ + kSectorHeadSize, kChunkDataSize);
            frameSize_ += kChunkDataSize;
        }
        ++nextSector_;
    }
    // The header the window and the tests see is the frame's first one.
    std::memcpy(header_, first, sizeof header_);
    info_.framesRead += 1;
    info_.sectorsLeft -= count;
    return info_.sectorsLeft <= 0 ? kMovieEnd : kMovieOk;
}

// Read past the stream's buffer (pread leaves its position alone), so that frame reading goes on
// undisturbed and its buffered data stays valid.
int MovieReader::readAudioSector(int32_t sector)
{
    if (!file_)
        return kMovieReadError;
    if (sector < 0)
        return kMovieSeekError;
    const off_t at = off_t(kHeaderSize + int64_t(kSectorSize) * sector);
    size_t done = 0;
    while (done < size_t(kSectorSize)) {
        const ssize_t n = pread(fileno(file_), audioSector_.data() + done, kSectorSize - done, at + off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return kMovieReadError;
        done += size_t(n);
    }
    return kMovieOk;
}

} // namespace reelcast
