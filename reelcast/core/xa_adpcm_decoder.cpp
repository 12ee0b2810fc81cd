#include "core/xa_adpcm_decoder.h"

#include <algorithm>

namespace reelcast {
namespace {

// Filter coefficients in signed 16.16 fixed point: 0, 60/64, 115/64, 98/64 and 0, 0, -52/64, -55/64.
constexpr int64_t kK0[4] = {0, 61440, 117760, 100352};
constexpr int64_t kK1[4] = {0, 0, -53248, -56320};

constexpr int kSubmodeOffset = 18, kChannelOffset = 17, kFileOffset = 16, kCodingOffset = 19;
constexpr int kDataOffset = 24, kGroups = 18, kGroupSize = 128, kUnits = 8, kSamplesPerUnit = 28;

int nibbleOf(const uint8_t* group, int sample, int unit)
{
    const uint8_t byte = group[16 + 4 * sample + unit / 2];
    const int n = (unit & 1) ? (byte >> 4) : (byte & 0x0F);
    return n >= 8 ? n - 16 : n;
}

} // namespace

void XaAdpcmDecoder::resetHistories() { left_ = right_ = History{}; }

int16_t XaAdpcmDecoder::decodeSample(History& h, int filter, int range, int nibble)
{
    // The products shift arithmetically (toward minus infinity); a range above 12 counts as 12.
    const int shift = 12 - std::min(range, 12);
    const int64_t v = ((kK0[filter] * h.h1) >> 16) + ((kK1[filter] * h.h2) >> 16) + 2 * (int64_t(nibble) << shift);
    h.h2 = h.h1;
    h.h1 = int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
    return int16_t(std::clamp<int64_t>(v / 2, -32768, 32767));
}

bool XaAdpcmDecoder::decodeSector(const uint8_t* sector, const AudioTrackInfo& track, int16_t* out)
{
    if (!isAudioSubmode(sector[kSubmodeOffset]) || sector[kChannelOffset] != track.channelNumber ||
        sector[kFileOffset] != track.fileNumber)
        return false;
    const bool stereo = sector[kCodingOffset] & 0x01;
    int16_t* o = out;
    for (int g = 0; g < kGroups; ++g) {
        const uint8_t* group = sector + kDataOffset + g * kGroupSize;
        auto param = [group](int unit, int& filter, int& range) {
            const uint8_t p = group[4 + unit];
            range = p & 0x0F;
            filter = (p >> 4) & 0x03;
        };
        if (!stereo) {
            for (int u = 0; u < kUnits; ++u) {
                int f, r;
                param(u, f, r);
                for (int s = 0; s < kSamplesPerUnit; ++s)
                    *o++ = decodeSample(left_, f, r, nibbleOf(group, s, u));
            }
        } else {
            for (int u = 0; u < kUnits; u += 2) {
                int fl, rl, fr, rr;
                param(u, fl, rl);
                param(u + 1, fr, rr);
                for (int s = 0; s < kSamplesPerUnit; ++s) {
                    *o++ = decodeSample(left_, fl, rl, nibbleOf(group, s, u));
                    *o++ = decodeSample(right_, fr, rr, nibbleOf(group, s, u + 1));
                }
            }
        }
    }
    return true;
}

XaAudioStream::XaAudioStream(MovieReader& reader, const AudioTrackInfo& track)
    : reader_(reader), track_(track), step_(uint32_t((uint64_t(track.sampleRate) * 65536) / kOutputRate)),
      next_(track.firstSector)
{
    decoder_.resetHistories();
    fetchSector();
}

// Samples 0 to 3 are cleared whatever happens; a sector that cannot be had leaves the rest of the
// buffer as it was, to be played again.
void XaAudioStream::fetchSector()
{
    std::fill_n(buffer_, 4, int16_t(0));
    if (next_ < 0 || next_ >= reader_.info().sectorCount) {
        exhausted_ = true; // every sector of the track has been played
        return;
    }
    const int st = reader_.readAudioSector(next_);
    // A stride of 0 (a single audio sector) plays it once.
    next_ = track_.stride > 0 ? next_ + track_.stride : reader_.info().sectorCount;
    if (st != kMovieOk || !decoder_.decodeSector(reader_.audioSector(), track_, buffer_))
        std::fill_n(buffer_, 4, int16_t(0));
}

int XaAudioStream::produce(int16_t* out, int frames, bool stopAtEnd)
{
    const bool stereo = channels() == 2;
    for (int i = 0; i < frames; ++i) {
        if (stopAtEnd && exhausted_)
            return i;
        phase_ += step_;
        const int32_t advance = int32_t(phase_ >> 16);
        phase_ &= 0xFFFF;
        if (stereo) {
            *out++ = buffer_[position_];
            *out++ = buffer_[position_ + 1];
            position_ += 2 * advance;
        } else {
            *out++ = buffer_[position_];
            position_ += advance;
        }
        if (position_ > XaAdpcmDecoder::kSamplesPerSector - 1) {
            position_ = 0;
            fetchSector();
        }
    }
    return frames;
}

} // namespace reelcast
