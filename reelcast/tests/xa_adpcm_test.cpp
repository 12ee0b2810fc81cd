// CD-XA ADPCM sector decoding, the audio stream's resampling, and the decode of the shared movies'
// sound against FFmpeg's adpcm_xa decoder.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/movie_reader.h"
#include "core/xa_adpcm_decoder.h"
#include "signal_compare.h"
#include "support/movie_builder.h"

namespace reelcast {
namespace {

constexpr size_t kSector = 2352;

// A sector of the track (file 1, channel 0) whose groups all carry the same parameters and nibbles.
std::vector<uint8_t> audioSector(bool stereo, uint8_t param, int nibbleLow, int nibbleHigh)
{
    std::vector<uint8_t> s(kSector, 0);
    s[16] = 1;
    s[17] = 0;
    s[18] = 0x64;
    s[19] = stereo ? 0x01 : 0x00;
    for (int g = 0; g < 18; ++g) {
        uint8_t* group = s.data() + 24 + g * 128;
        for (int u = 0; u < 8; ++u)
            group[4 + u] = param;
        for (int i = 16; i < 128; ++i)
            group[i] = uint8_t((nibbleLow & 0xF) | ((nibbleHigh & 0xF) << 4));
    }
    return s;
}

AudioTrackInfo track(int channels)
{
    AudioTrackInfo t;
    t.firstSector = 0;
    t.channels = channels;
    t.fileNumber = 1;
    t.channelNumber = 0;
    t.sampleRate = 37800;
    return t;
}

TEST(XaAdpcm, FilterZeroGivesTheShiftedNibbles)
{
    struct Case {
        uint8_t param;
        int nibble, expected;
    };
    // Range r shifts by 12 - r; ranges above 12 act as 12; the output is v / 2 with v = 2 * (n << shift).
    for (const Case c : {Case{0x00, 3, 3 << 12}, Case{0x0C, 3, 3}, Case{0x0F, -2, -2}, Case{0x0D, 7, 7},
                         Case{0x00, -8, -32768}, Case{0x04, 5, 5 << 8}}) {
        XaAdpcmDecoder d;
        const auto s = audioSector(false, c.param, c.nibble, c.nibble);
        std::vector<int16_t> out(4032, 1234);
        ASSERT_TRUE(d.decodeSector(s.data(), track(1), out.data()));
        EXPECT_EQ(out[0], c.expected) << int(c.param);
        EXPECT_EQ(out[4031], c.expected);
    }
}

TEST(XaAdpcm, FilterOneCarriesHistoryAcrossSectors)
{
    XaAdpcmDecoder d;
    const auto s = audioSector(false, 0x1C, 1, 1); // filter 1, range 12: v = 2 + (61440 * h1 >> 16)
    std::vector<int16_t> out(4032);
    ASSERT_TRUE(d.decodeSector(s.data(), track(1), out.data()));
    // v: 2, 2 + (61440*2>>16) = 3, 4, ... settling at 17 (= 2 + floor(15 * 17 / 16)); outputs v / 2.
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(out[1], 1);
    EXPECT_EQ(out[2], 2);
    EXPECT_EQ(out[4031], 8);
    d.resetHistories();
    ASSERT_TRUE(d.decodeSector(s.data(), track(1), out.data()));
    EXPECT_EQ(out[0], 1);
    ASSERT_TRUE(d.decodeSector(s.data(), track(1), out.data()));
    EXPECT_EQ(out[0], 8); // carried over from the previous sector
}

TEST(XaAdpcm, StereoInterleavesEvenAndOddUnits)
{
    XaAdpcmDecoder d;
    const auto s = audioSector(true, 0x0C, 2, -3); // low nibble (even unit) 2, high (odd unit) -3
    std::vector<int16_t> out(4032);
    ASSERT_TRUE(d.decodeSector(s.data(), track(2), out.data()));
    for (int i = 0; i < 4032; i += 2) {
        ASSERT_EQ(out[i], 2);
        ASSERT_EQ(out[i + 1], -3);
    }
}

TEST(XaAdpcm, SectorsOfOtherTracksAreNotDecoded)
{
    XaAdpcmDecoder d;
    std::vector<int16_t> out(4032, 99);
    for (int offset : {16, 17, 18}) {
        auto s = audioSector(false, 0x0C, 1, 1);
        s[offset] ^= 0x02;
        EXPECT_FALSE(d.decodeSector(s.data(), track(1), out.data())) << offset;
    }
    EXPECT_EQ(out[0], 99);
}

// Nearest-sample resampling: 1470 output frames per video frame at 30 per second; a 37800 Hz
// track advances by 0 or 1 input sample each time.
TEST(XaAudioStream, ResamplesWithTheFixedStep)
{
    test::TempDir dir;
    test::MovieBuilder b;
    b.frame(1, test::patternPayload(1));
    b.audio(1, 0, 0x00);
    b.frame(2, test::patternPayload(1));
    b.audio(1, 0, 0x00);
    const std::string path = b.write(dir, "a.STR");
    MovieReader reader;
    ASSERT_EQ(reader.open(path), kMovieOk);
    ASSERT_EQ(reader.scanFrames(), kMovieOk);
    AudioTrackInfo t = reader.info().audio;
    ASSERT_EQ(t.sampleRate, 37800);
    XaAudioStream stream(reader, t);
    EXPECT_EQ(stream.step(), 56173u);
    EXPECT_EQ(XaAudioStream::kOutputRate / 30, 1470);
    std::vector<int16_t> out(1470);
    stream.produce(out.data(), 1470);
    t.sampleRate = 18900;
    EXPECT_EQ(XaAudioStream(reader, t).step(), 28086u);
}

// Reads a whole file.
std::vector<uint8_t> slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

bool haveFfmpeg()
{
    const std::string f = REELCAST_FFMPEG;
    return !f.empty() && f.find("NOTFOUND") == std::string::npos;
}

class SharedMovieSound : public testing::TestWithParam<const char*> {};

// Every audio sector of the track decoded in order gives FFmpeg's adpcm_xa decode of the movie.
TEST_P(SharedMovieSound, DecodeMatchesFfmpeg)
{
    if (!haveFfmpeg())
        GTEST_SKIP() << "ffmpeg not found";
    const std::string movie = std::string(SUITE_TESTDATA_DIR) + "/movies/" + GetParam();
    MovieReader reader;
    ASSERT_EQ(reader.open(movie), kMovieOk);
    ASSERT_EQ(reader.scanFrames(), kMovieOk);
    const AudioTrackInfo t = reader.info().audio;
    ASSERT_GE(t.firstSector, 0);
    XaAdpcmDecoder decoder;
    std::vector<int16_t> ours;
    std::vector<int16_t> block(4032);
    for (int32_t s = t.firstSector; s < reader.info().sectorCount; s += t.stride) {
        ASSERT_EQ(reader.readAudioSector(s), kMovieOk);
        if (decoder.decodeSector(reader.audioSector(), t, block.data()))
            ours.insert(ours.end(), block.begin(), block.end());
        if (t.stride <= 0)
            break;
    }
    test::TempDir dir;
    const std::string out = dir.file("ref.s16");
    const std::string cmd = "'" + std::string(REELCAST_FFMPEG) + "' -nostdin -v fatal -i '" + movie +
                            "' -vn -f s16le -acodec pcm_s16le '" + out + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    const std::vector<uint8_t> raw = slurp(out);
    std::vector<int16_t> ref(raw.size() / 2);
    std::memcpy(ref.data(), raw.data(), ref.size() * 2);
    ASSERT_GT(ref.size(), 10000u);
    const size_t n = std::min(ours.size(), ref.size());
    EXPECT_GT(double(n), 0.95 * double(ref.size()));
    size_t maxDiff = 0;
    for (size_t i = 0; i < n; ++i)
        maxDiff = std::max<size_t>(maxDiff, size_t(std::abs(ours[i] - ref[i])));
    const double r = test::correlation(ours.data(), ref.data(), n);
    std::printf("[ XA       ] %s: %zu samples, correlation %.6f, largest difference %zu\n", GetParam(), n, r, maxDiff);
    EXPECT_GE(r, 0.999);
}

INSTANTIATE_TEST_SUITE_P(Movies, SharedMovieSound,
                         testing::Values("mandel-v3-mono18900-audiofirst.STR", "testsrc-v2-stereo37800.STR"));

} // namespace
} // namespace reelcast
