#include "core/raw_avi_writer.h"

#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace reelcast {
namespace {

constexpr uint32_t kFlagsHasIndex = 0x10, kFlagsInterleaved = 0x100, kFlagsTrustChunkType = 0x800;
constexpr uint32_t kIndexKeyFrame = 0x10;
constexpr uint32_t kSuggestedBuffer = 1 << 20;
constexpr size_t kSuperIndexBytes = 24 + 16 * RawAviWriter::kMaxParts;
constexpr size_t kOdmlBytes = 260; // "odml", then the 248-byte "dmlh"

void put16(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
void put32(uint8_t* p, uint32_t v)
{
    put16(p, v);
    put16(p + 2, v >> 16);
}
void put64(uint8_t* p, uint64_t v)
{
    put32(p, uint32_t(v));
    put32(p + 4, uint32_t(v >> 32));
}

// Little-endian bytes built up in memory, with RIFF chunks and lists whose sizes are filled in
// when they end.
class Bytes {
public:
    size_t size() const { return b_.size(); }
    const uint8_t* data() const { return b_.data(); }
    uint8_t* at(size_t offset) { return b_.data() + offset; }
    void tag(const char* t) { b_.insert(b_.end(), t, t + 4); }
    void u16(uint32_t v) { put16(grow(2), v); }
    void u32(uint32_t v) { put32(grow(4), v); }
    void u64(uint64_t v) { put64(grow(8), v); }
    void zeros(size_t n) { b_.resize(b_.size() + n, 0); }
    // Returns the chunk's offset (of its tag).
    size_t begin(const char* t, const char* listType = nullptr)
    {
        const size_t start = b_.size();
        tag(t);
        u32(0);
        if (listType)
            tag(listType);
        open_.push_back(start);
        return start;
    }
    void end()
    {
        const size_t start = open_.back();
        open_.pop_back();
        put32(at(start + 4), uint32_t(b_.size() - start - 8));
        if (b_.size() & 1)
            b_.push_back(0);
    }

private:
    uint8_t* grow(size_t n)
    {
        b_.resize(b_.size() + n);
        return b_.data() + b_.size() - n;
    }
    std::vector<uint8_t> b_;
    std::vector<size_t> open_;
};

// The placeholder of a stream's super index: its header, no entries yet.
void superIndexPlaceholder(Bytes& h, const char* chunkTag)
{
    h.begin("JUNK");
    h.u16(4); // longs per entry
    h.u16(0); // sub-type 0, type 0: an index of indexes
    h.u32(0);
    h.tag(chunkTag);
    h.zeros(12 + 16 * RawAviWriter::kMaxParts);
    h.end();
}

// A stream header; its length and buffer size fields are filled in at the end.
size_t streamHeader(Bytes& h, const char* type, uint32_t handler, uint32_t rate, uint32_t sampleSize, uint32_t width,
                    uint32_t height)
{
    h.begin("strh");
    h.tag(type);
    h.u32(handler);
    h.zeros(8); // flags, priority and language
    h.u32(0);   // initial frames
    h.u32(1);   // scale
    h.u32(rate);
    h.u32(0); // start
    const size_t lengthField = h.size();
    h.u32(0); // length
    h.u32(0); // suggested buffer size
    h.u32(0xFFFFFFFF);
    h.u32(sampleSize);
    h.zeros(4); // frame rectangle: left, top
    h.u16(width);
    h.u16(height);
    h.end();
    return lengthField;
}

} // namespace

bool RawAviWriter::fail(int error)
{
    error_ = error ? error : EIO;
    return false;
}

bool RawAviWriter::writeAll(const void* data, size_t size)
{
    const uint8_t* p = static_cast<const uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd_, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? errno : ENOSPC);
        p += n;
        size -= size_t(n);
        pos_ += uint64_t(n);
    }
    return true;
}

bool RawAviWriter::patch32(uint64_t position, uint32_t value)
{
    uint8_t b[4];
    put32(b, value);
    return pwrite(fd_, b, 4, off_t(position)) == 4 || fail(errno);
}

bool RawAviWriter::open(int fd, const RawAviFormat& f)
{
    fd_ = fd;
    error_ = 0;
    pos_ = 0;
    parts_ = 1;
    partBytes_ = f.partBytes;
    firstPartFrames_ = 0;
    idx1_.clear();
    streams_.assign(f.audioChannels > 0 ? 2 : 1, Stream{});
    std::memcpy(streams_[0].tag, "00dc", 4);
    if (streams_.size() > 1)
        std::memcpy(streams_[1].tag, "01wb", 4);
    const uint32_t blockAlign = uint32_t(f.audioChannels) * 2;
    audioBlockAlign_ = blockAlign;
    const uint32_t rate = uint32_t(f.frameRate > 0 ? f.frameRate : 15);

    Bytes h;
    h.begin("RIFF", "AVI ");
    h.begin("LIST", "hdrl");
    h.begin("avih");
    h.u32(1000000 / rate);
    h.u32(blockAlign * uint32_t(f.audioRate)); // bytes a second; the bitmaps count none
    h.u32(0);
    h.u32(kFlagsHasIndex | kFlagsInterleaved | kFlagsTrustChunkType);
    totalFramesField_ = h.size();
    h.u32(0);
    h.u32(0);
    h.u32(uint32_t(streams_.size()));
    h.u32(kSuggestedBuffer);
    h.u32(f.width);
    h.u32(f.height);
    h.zeros(16);
    h.end();

    for (size_t i = 0; i < streams_.size(); ++i) {
        Stream& s = streams_[i];
        h.begin("LIST", "strl");
        if (i == 0) {
            s.lengthField = streamHeader(h, "vids", 0x20424944 /* "DIB " */, rate, 0, f.width, f.height);
            h.begin("strf"); // BITMAPINFOHEADER, rows bottom-up
            h.u32(40);
            h.u32(f.width);
            h.u32(f.height);
            h.u16(1);
            h.u16(24);
            h.u32(0);
            h.u32(f.width * f.height * 3);
            h.zeros(16);
            h.end();
        } else {
            s.lengthField = streamHeader(h, "auds", 1, uint32_t(f.audioRate), blockAlign, 0, 0);
            h.begin("strf"); // WAVEFORMAT of 16-bit PCM
            h.u16(1);
            h.u16(uint32_t(f.audioChannels));
            h.u32(uint32_t(f.audioRate));
            h.u32(uint32_t(f.audioRate) * blockAlign);
            h.u16(blockAlign);
            h.u16(16);
            h.end();
        }
        s.bufferField = s.lengthField + 4;
        s.indexChunk = h.size();
        superIndexPlaceholder(h, s.tag);
        h.end();
    }
    odmlChunk_ = h.begin("JUNK");
    h.tag("odml");
    h.begin("dmlh");
    h.zeros(kOdmlBytes - 12);
    h.end();
    h.end();
    h.end(); // hdrl

    h.begin("LIST", "INFO");
    h.begin("ISFT");
    h.zeros(f.software.size() + 1);
    std::memcpy(h.at(h.size() - f.software.size() - 1), f.software.data(), f.software.size());
    h.end();
    h.end();
    h.begin("JUNK"); // room to edit the tags in place
    h.zeros(1016);
    h.end();

    // The RIFF and movi sizes are filled in when the part ends.
    const size_t headerBytes = h.size();
    riffTag_ = 0;
    moviTag_ = headerBytes;
    if (!writeAll(h.data(), headerBytes))
        return false;
    uint8_t movi[12];
    std::memcpy(movi, "LIST\0\0\0\0movi", 12);
    return writeAll(movi, sizeof movi);
}

bool RawAviWriter::writeChunk(Stream& s, const void* data, uint32_t size, uint32_t duration)
{
    if (fd_ < 0)
        return fail(EBADF);
    if (pos_ - (riffTag_ + 8) > partBytes_ && !startPart())
        return false;
    uint8_t head[8];
    std::memcpy(head, s.tag, 4);
    put32(head + 4, size);
    static const uint8_t pad = 0;
    iovec parts[3] = {{head, 8}, {const_cast<void*>(data), size}, {const_cast<uint8_t*>(&pad), size & 1}};
    const uint64_t at = pos_;
    const size_t total = 8 + size_t(size) + (size & 1);
    ssize_t n = ::writev(fd_, parts, 3);
    if (n < 0 && errno != EINTR)
        return fail(errno);
    n = std::max<ssize_t>(n, 0);
    pos_ += uint64_t(n);
    // A short write: the rest goes out piece by piece.
    if (size_t(n) < total) {
        size_t done = size_t(n);
        for (const iovec& v : parts) {
            if (done >= v.iov_len) {
                done -= v.iov_len;
                continue;
            }
            if (!writeAll(static_cast<const uint8_t*>(v.iov_base) + done, v.iov_len - done))
                return false;
            done = 0;
        }
    }
    s.part.push_back({at, size});
    if (parts_ == 1)
        idx1_.push_back({uint8_t(&s - streams_.data()), {at, size}});
    s.partDuration += duration;
    s.totalDuration += duration;
    s.largest = std::max(s.largest, size);
    return true;
}

bool RawAviWriter::writeVideo(const uint8_t* data, uint32_t size) { return writeChunk(streams_[0], data, size, 1); }

bool RawAviWriter::writeAudio(const int16_t* samples, int frames)
{
    if (streams_.size() < 2 || frames <= 0)
        return fail(EINVAL);
    return writeChunk(streams_[1], samples, uint32_t(frames) * audioBlockAlign_, uint32_t(frames));
}

// The standard index of one stream's chunks in this part, inside its movi list.
bool RawAviWriter::writeStandardIndex(Stream& s)
{
    const uint64_t base = moviTag_ + 8;
    Bytes ix;
    char tag[5] = {'i', 'x', s.tag[0], s.tag[1], 0};
    ix.begin(tag);
    ix.u16(2);      // longs per entry
    ix.u16(0x0100); // sub-type 0, type 1: an index of chunks
    ix.u32(uint32_t(s.part.size()));
    ix.tag(s.tag);
    ix.u64(base);
    ix.u32(0);
    for (const Entry& e : s.part) {
        ix.u32(uint32_t(e.position + 8 - base));
        ix.u32(e.size); // every chunk is a key frame
    }
    ix.end();
    s.parts.push_back({pos_, uint32_t(ix.size()), uint32_t(s.partDuration)});
    s.part.clear();
    s.partDuration = 0;
    return writeAll(ix.data(), ix.size());
}

bool RawAviWriter::writeIdx1()
{
    Bytes idx;
    idx.begin("idx1");
    const uint64_t base = moviTag_ + 8;
    for (const Idx1Entry& e : idx1_) {
        idx.tag(streams_[e.stream].tag);
        idx.u32(kIndexKeyFrame);
        idx.u32(uint32_t(e.chunk.position - base));
        idx.u32(e.chunk.size);
    }
    idx.end();
    idx1_.clear();
    idx1_.shrink_to_fit();
    return writeAll(idx.data(), idx.size());
}

// Ends the part: its standard indexes when the file has more than one, the movi list, the idx1
// index in the first part, and the RIFF.
bool RawAviWriter::endPart(bool last)
{
    if (!last || parts_ > 1)
        for (Stream& s : streams_)
            if (!writeStandardIndex(s))
                return false;
    if (!patch32(moviTag_ + 4, uint32_t(pos_ - moviTag_ - 8)))
        return false;
    if (parts_ == 1) {
        firstPartFrames_ = uint32_t(streams_[0].totalDuration);
        if (!writeIdx1())
            return false;
    }
    return patch32(riffTag_ + 4, uint32_t(pos_ - riffTag_ - 8));
}

bool RawAviWriter::startPart()
{
    if (parts_ >= kMaxParts)
        return fail(EFBIG);
    if (!endPart(false))
        return false;
    ++parts_;
    riffTag_ = pos_;
    moviTag_ = pos_ + 12;
    uint8_t head[24];
    std::memcpy(head, "RIFF\0\0\0\0AVIXLIST\0\0\0\0movi", 24);
    return writeAll(head, sizeof head);
}

// Past one part the placeholders become the streams' super indexes and the OpenDML header.
bool RawAviWriter::writeSuperIndexes()
{
    for (const Stream& s : streams_) {
        uint8_t index[8 + kSuperIndexBytes] = {};
        std::memcpy(index, "indx", 4);
        put32(index + 4, uint32_t(kSuperIndexBytes));
        put16(index + 8, 4);
        put32(index + 12, uint32_t(s.parts.size()));
        std::memcpy(index + 16, s.tag, 4);
        for (size_t i = 0; i < s.parts.size(); ++i) {
            uint8_t* e = index + 32 + 16 * i;
            put64(e, s.parts[i].position);
            put32(e + 8, s.parts[i].size);
            put32(e + 12, s.parts[i].duration);
        }
        if (pwrite(fd_, index, sizeof index, off_t(s.indexChunk)) != ssize_t(sizeof index))
            return fail(errno);
    }
    uint8_t odml[12 + 4];
    std::memcpy(odml, "LIST", 4);
    put32(odml + 4, uint32_t(kOdmlBytes));
    std::memcpy(odml + 8, "odml", 4);
    if (pwrite(fd_, odml, 12, off_t(odmlChunk_)) != 12)
        return fail(errno);
    return patch32(odmlChunk_ + 20, uint32_t(streams_[0].totalDuration));
}

bool RawAviWriter::finish()
{
    if (fd_ < 0)
        return fail(EBADF);
    const bool ok = [&] {
        if (!endPart(true))
            return false;
        if (parts_ > 1 && !writeSuperIndexes())
            return false;
        if (!patch32(totalFramesField_, parts_ > 1 ? firstPartFrames_ : uint32_t(streams_[0].totalDuration)))
            return false;
        for (const Stream& s : streams_)
            if (!patch32(s.lengthField, uint32_t(s.totalDuration)) || !patch32(s.bufferField, s.largest))
                return false;
        return true;
    }();
    fd_ = -1;
    return ok;
}

} // namespace reelcast
