// Decodes the shared movies frame by frame and compares every frame with FFmpeg's own decode.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/frame_decoder.h"
#include "core/movie_reader.h"
#include "support/movie_builder.h"

namespace reelcast {
namespace {

struct MovieCase {
    const char* file;
    int frames;
    uint32_t width, height;
    int frameRate;
    int firstAudioSector;
};

std::string moviePath(const char* file) { return std::string(SUITE_TESTDATA_DIR) + "/movies/" + file; }

bool haveFfmpeg()
{
    const std::string f = REELCAST_FFMPEG;
    return !f.empty() && f.find("NOTFOUND") == std::string::npos;
}

// FFmpeg's decode of the whole movie as packed RGB, frame after frame.
std::vector<uint8_t> ffmpegFrames(const std::string& movie, const test::TempDir& dir)
{
    const std::string out = dir.file("ref.rgb");
    const std::string cmd = "'" + std::string(REELCAST_FFMPEG) + "' -nostdin -v fatal -i '" + movie +
                            "' -an -f rawvideo -pix_fmt rgb24 '" + out + "'";
    if (std::system(cmd.c_str()) != 0)
        return {};
    std::ifstream in(out, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

double psnr(const uint32_t* ours, const uint8_t* reference, size_t pixels)
{
    double squared = 0;
    for (size_t i = 0; i < pixels; ++i)
        for (int c = 0; c < 3; ++c) {
            const double d = double((ours[i] >> (8 * c)) & 0xFF) - reference[i * 3 + c];
            squared += d * d;
        }
    const double mse = squared / double(pixels * 3);
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

class SharedMovie : public testing::TestWithParam<MovieCase> {};

TEST_P(SharedMovie, ScanFindsFramesRateAndSound)
{
    const auto& c = GetParam();
    MovieReader reader;
    ASSERT_EQ(reader.open(moviePath(c.file)), kMovieOk);
    ASSERT_EQ(reader.scanFrames(), kMovieOk);
    EXPECT_EQ(reader.info().totalFrames, c.frames);
    EXPECT_EQ(reader.info().width, c.width);
    EXPECT_EQ(reader.info().height, c.height);
    EXPECT_EQ(reader.info().frameRate, c.frameRate);
    EXPECT_EQ(reader.info().audio.firstSector, c.firstAudioSector);
}

TEST_P(SharedMovie, EveryFrameMatchesFfmpegAbove40dB)
{
    if (!haveFfmpeg())
        GTEST_SKIP() << "ffmpeg not installed";
    const auto& c = GetParam();
    test::TempDir dir;
    const std::vector<uint8_t> reference = ffmpegFrames(moviePath(c.file), dir);
    const size_t frameBytes = size_t(c.width) * c.height * 3;
    ASSERT_FALSE(reference.empty());
    ASSERT_EQ(reference.size() % frameBytes, 0u);
    const size_t referenceFrames = reference.size() / frameBytes;

    MovieReader reader;
    ASSERT_EQ(reader.open(moviePath(c.file)), kMovieOk);
    ASSERT_EQ(reader.scanFrames(), kMovieOk);
    EXPECT_EQ(size_t(reader.info().totalFrames), referenceFrames);

    std::vector<uint32_t> picture(size_t(c.width) * c.height);
    FrameDecoder decoder;
    double sum = 0, worst = 1e9;
    int decoded = 0;
    for (int i = 0; i < reader.info().totalFrames && size_t(i) < referenceFrames; ++i) {
        const int st = reader.readNextFrame();
        ASSERT_TRUE(st == kMovieOk || st == kMovieEnd) << "frame " << i + 1 << " status " << st;
        decoder.decodeFrame(reader.frameData(), reader.frameSize(), {picture.data(), c.width, c.height});
        const double p = psnr(picture.data(), reference.data() + i * frameBytes, picture.size());
        EXPECT_GE(p, 40.0) << "frame " << i + 1;
        sum += p;
        worst = std::min(worst, p);
        ++decoded;
    }
    EXPECT_EQ(decoded, c.frames);
    std::printf("[ PSNR     ] %s: %d frames, mean %.2f dB, lowest %.2f dB\n", c.file, decoded, sum / decoded, worst);
}

INSTANTIATE_TEST_SUITE_P(Files, SharedMovie,
                         testing::Values(MovieCase{"testsrc-v2-stereo37800.STR", 88, 320, 240, 15, 7},
                                         MovieCase{"mandel-v3-mono18900-audiofirst.STR", 71, 320, 240, 15, 0},
                                         MovieCase{"bars-v3-30fps-silent.STR", 119, 256, 224, 30, -1}),
                         [](const auto& info) {
                             std::string n = info.param.file;
                             return n.substr(0, n.find('-'));
                         });

} // namespace
} // namespace reelcast
