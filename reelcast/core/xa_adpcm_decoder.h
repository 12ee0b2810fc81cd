#pragma once
// Decoder of CD-XA ADPCM audio sectors (4-bit, 18 sound groups of 128 bytes), and the stream that
// fetches a movie's audio sectors and resamples them to 44100 Hz for the AVI sound track.

#include <cstdint>

#include "core/movie_reader.h"

namespace reelcast {

class XaAdpcmDecoder {
public:
    static constexpr int kSamplesPerSector = 4032; // 18 groups x 8 units x 28 samples

    void resetHistories();
    // Decodes a 2352-byte raw sector of the track into out (4032 values: mono, or left/right pairs).
    // Returns false, leaving out untouched, when the sector is not an audio sector of this track.
    bool decodeSector(const uint8_t* sector, const AudioTrackInfo& track, int16_t* out);

private:
    struct History {
        int32_t h1 = 0, h2 = 0; // previous and second-previous value, before halving
    };
    static int16_t decodeSample(History& h, int filter, int range, int nibble);

    History left_, right_;
};

// The track's samples at 44100 Hz, nearest sample, as the AVI's sound stream takes them.
class XaAudioStream {
public:
    static constexpr int32_t kOutputRate = 44100;

    XaAudioStream(MovieReader& reader, const AudioTrackInfo& track);
    int channels() const { return track_.channels == 2 ? 2 : 1; }
    // Produces frames output sample frames (interleaved when stereo) into out. Past the track's
    // last sector the buffer is replayed, unless stopAtEnd: then it stops there and returns the
    // number of sample frames produced.
    int produce(int16_t* out, int frames, bool stopAtEnd = false);
    // The track's last sector has been played to its end.
    bool exhausted() const { return exhausted_; }
    uint32_t step() const { return step_; }

private:
    void fetchSector();

    MovieReader& reader_;
    AudioTrackInfo track_;
    XaAdpcmDecoder decoder_;
    int16_t buffer_[XaAdpcmDecoder::kSamplesPerSector] = {};
    uint32_t step_ = 0;
    uint32_t phase_ = 0;
    int32_t position_ = 0;
    int32_t next_ = 0;
    bool exhausted_ = false;
};

} // namespace reelcast
