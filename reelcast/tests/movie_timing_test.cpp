// Frame rates and sound of converted movies read from the AVI's own stream headers, and movies cut
// short or damaged: built here sector by sector from the pictures of a shared movie.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/cli.h"
#include "core/movie_reader.h"
#include "core/xa_adpcm_decoder.h"
#include "support/cli_run.h"
#include "support/movie_builder.h"

namespace reelcast {
namespace {

using test::MovieBuilder;
using test::TempDir;

std::string shared(const char* file) { return std::string(SUITE_TESTDATA_DIR) + "/movies/" + file; }

std::vector<uint8_t> slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

uint32_t le32(const uint8_t* p) { return uint32_t(p[0]) | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

// dwScale, dwRate and dwLength of the AVI stream of the given type ("vids" or "auds").
struct StreamHeader {
    uint32_t scale = 0, rate = 0, length = 0;
    bool found = false;
};
StreamHeader streamHeader(const std::vector<uint8_t>& avi, const char* type)
{
    for (size_t i = 0; i + 44 <= avi.size() && i < 8192; ++i)
        if (std::memcmp(&avi[i], "strh", 4) == 0 && std::memcmp(&avi[i + 8], type, 4) == 0)
            return {le32(&avi[i + 28]), le32(&avi[i + 32]), le32(&avi[i + 40]), true};
    return {};
}

// The compressed frames of a shared movie, as the reader assembles them.
std::vector<std::vector<uint8_t>> framesOf(const char* movie)
{
    MovieReader reader;
    std::vector<std::vector<uint8_t>> frames;
    if (reader.open(shared(movie)) != kMovieOk || reader.scanFrames() != kMovieOk)
        return frames;
    for (int32_t i = 0; i < reader.info().totalFrames; ++i) {
        const int st = reader.readNextFrame();
        frames.emplace_back(reader.frameData(), reader.frameData() + reader.frameSize());
        if (st != kMovieOk)
            break;
    }
    return frames;
}

// A movie played from a single-speed disc (75 sectors a second) at 10 frames per second: 7.5
// sectors per frame, every eighth sector a stereo 18900 Hz sound sector. Each frame fills the video
// sectors of its 7 or 8, so the largest frame takes 7 sectors. The last sound sector carries the
// end-of-file bit. Pictures: the 256 x 224 frames of the bars movie.
struct TenFpsMovie {
    MovieBuilder builder;
    int frames = 0, soundSectors = 0;
};
TenFpsMovie tenFpsMovie(int frameCount)
{
    const auto pictures = framesOf("bars-v3-30fps-silent.STR");
    TenFpsMovie m;
    m.frames = frameCount;
    const int sectors = frameCount * 15 / 2;
    auto frameOf = [](int sector) { return sector * 2 / 15; };
    auto isSound = [](int sector) { return sector % 8 == 7; };
    int lastSound = -1;
    for (int p = 0; p < sectors; ++p) {
        if (isSound(p)) {
            m.builder.audio(1, 0, 0x05); // stereo, 18900 Hz
            uint8_t* s = m.builder.bytes().data() + m.builder.bytes().size() - MovieBuilder::kSector;
            for (int i = 24; i < 24 + 18 * 128; ++i)
                s[i] = uint8_t(i * 37 + p); // sound of some kind
            for (int g = 0; g < 18; ++g)
                for (int u = 0; u < 8; ++u)
                    s[24 + g * 128 + 4 + u] = 0x08; // filter 0, range 8
            lastSound = p;
            ++m.soundSectors;
            continue;
        }
        const int f = frameOf(p);
        int chunk = 0, count = 0;
        for (int q = (f * 15 + 1) / 2; frameOf(q) == f && q < sectors; ++q) {
            if (isSound(q))
                continue;
            if (q < p)
                ++chunk;
            ++count;
        }
        const auto& picture = pictures[size_t(f) % pictures.size()];
        std::vector<uint8_t> part(MovieBuilder::kPayload, 0);
        const size_t from = size_t(chunk) * MovieBuilder::kPayload;
        if (from < picture.size())
            std::memcpy(part.data(), picture.data() + from, std::min(picture.size() - from, part.size()));
        m.builder.video(f + 1, uint16_t(chunk), uint16_t(count), part, 256, 224);
    }
    m.builder.bytes()[44 + size_t(lastSound) * MovieBuilder::kSector + 18] = 0xE4; // end of file
    return m;
}

TEST(MovieTiming, TenFramesASecondFromTheSoundTrackWithTheWholeTrack)
{
    TempDir dir;
    TenFpsMovie m = tenFpsMovie(100);
    const std::string movie = m.builder.write(dir, "ten.str");
    MovieReader reader;
    ASSERT_EQ(reader.open(movie), kMovieOk);
    ASSERT_EQ(reader.scanFrames(), kMovieOk);
    EXPECT_EQ(reader.info().maxChunks, 7);
    EXPECT_EQ(reader.info().frameRate, 20); // the largest frame's guess, still shown
    EXPECT_EQ(reader.info().discSpeed, 75);
    EXPECT_EQ(reader.info().discFrameRate, 10);

    // The whole track at 44100 Hz: 2016 sample pairs of each sector at 18900 Hz, resampled.
    const double trackFrames = m.soundSectors * 2016.0 * 44100.0 / 18900.0;
    struct Case {
        const char* fps;
        uint32_t rate;
    };
    for (const Case& c : {Case{"auto", 10}, Case{"30", 30}}) {
        SCOPED_TRACE(c.fps);
        const std::string avi = dir.file(std::string("ten-") + c.fps + ".avi");
        const test::CliRun r = test::runReelcast({"--convert", movie, "-o", avi, "--fps", c.fps});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, ""); // nothing damaged
        const auto bytes = slurp(avi);
        const StreamHeader v = streamHeader(bytes, "vids"), a = streamHeader(bytes, "auds");
        EXPECT_EQ(v.scale, 1u);
        EXPECT_EQ(v.rate, c.rate);
        EXPECT_EQ(v.length, 104u);
        ASSERT_TRUE(a.found);
        EXPECT_EQ(a.rate, 44100u);
        EXPECT_GE(double(a.length), trackFrames - 1);
        EXPECT_LE(double(a.length), std::max(trackFrames, 104.0 * (44100 / c.rate)) + 44100 / c.rate);
    }
}

TEST(MovieTiming, StreamRateIsAnExactFraction)
{
    TempDir dir;
    MovieBuilder b;
    b.frame(1, test::patternPayload(1), 32, 16).frame(2, test::patternPayload(1), 32, 16);
    const std::string movie = b.write(dir, "tiny.str");
    for (const uint32_t fps : {30u, 24u, 20u, 15u, 12u, 10u}) {
        const std::string avi = dir.file("r" + std::to_string(fps) + ".avi");
        const test::CliRun r = test::runReelcast({"--convert", movie, "-o", avi, "--fps", std::to_string(fps)});
        ASSERT_EQ(r.status, 0) << r.err;
        const StreamHeader v = streamHeader(slurp(avi), "vids");
        EXPECT_EQ(v.scale, 1u) << fps;
        EXPECT_EQ(v.rate, fps);
    }
}

// The end-of-record and end-of-file bits do not hide an audio sector; other submodes are not audio.
TEST(MovieTiming, AudioSectorsWhateverTheirEndBits)
{
    struct Case {
        uint8_t submode;
        bool audio;
    };
    for (const Case c : {Case{0x64, true}, Case{0xE4, true}, Case{0x65, true}, Case{0xE5, true}, Case{0x48, false},
                         Case{0x24, false}, Case{0x44, false}, Case{0x66, false}, Case{0x08, false}}) {
        EXPECT_EQ(isAudioSubmode(c.submode), c.audio) << int(c.submode);
        uint8_t sector[2352] = {};
        sector[18] = c.submode;
        sector[24 + 4] = 0x00;  // unit 0: filter 0, range 0
        sector[24 + 16] = 0x07; // its first sample: 7 << 12
        AudioTrackInfo track;
        int16_t out[XaAdpcmDecoder::kSamplesPerSector] = {};
        XaAdpcmDecoder decoder;
        EXPECT_EQ(decoder.decodeSector(sector, track, out), c.audio) << int(c.submode);
        EXPECT_EQ(out[0], c.audio ? 7 << 12 : 0);
    }
}

TEST(DamagedMovie, CutInsideASectorKeepsItsWholeSectors)
{
    TempDir dir;
    auto bytes = slurp(shared("testsrc-v2-stereo37800.STR"));
    const size_t whole = 500;
    bytes.resize(44 + whole * 2352 + 1000);
    const std::string movie = dir.file("cut.str");
    test::writeFile(movie, bytes);
    // The frames whose last chunk lies within the whole sectors.
    int32_t complete = 0;
    for (size_t k = 0; k < whole; ++k) {
        const uint8_t* h = bytes.data() + 44 + k * 2352 + 24;
        if (isVideoSector(h - 24) && (h[4] | h[5] << 8) + 1 == (h[6] | h[7] << 8))
            complete = std::max<int32_t>(complete, int32_t(le32(h + 8)));
    }
    ASSERT_GT(complete, 40);

    MovieReader strict;
    strict.setStrict(true);
    EXPECT_EQ(strict.open(movie), kMovieFormatError);
    test::CliRun r = test::runReelcast({"--convert", movie, "-o", dir.file("strict.avi"), "--strict"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "This file isn't PSX movie file format.\n");

    MovieReader reader;
    ASSERT_EQ(reader.open(movie), kMovieOk);
    EXPECT_EQ(reader.info().sectorCount, int32_t(whole));
    EXPECT_EQ(reader.info().truncatedBytes, 1000);
    ASSERT_EQ(reader.scanFrames(), kMovieOk);
    EXPECT_EQ(reader.info().totalFrames, complete);

    const std::string avi = dir.file("cut.avi");
    r = test::runReelcast({"--convert", movie, "-o", avi});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "The file is truncated: its last sector has only 1000 of 2352 bytes; the 500 whole sectors "
                     "are converted.\n");
    EXPECT_EQ(streamHeader(slurp(avi), "vids").length, uint32_t(complete + 4));
}

// Frame 10's bitstream is wiped (no code decodes) and a chunk of frame 20 claims an impossible frame
// number: both frames are skipped, the picture before standing in; the sound is kept.
TEST(DamagedMovie, DamagedFramesAreSkippedAndCounted)
{
    TempDir dir;
    auto bytes = slurp(shared("testsrc-v2-stereo37800.STR"));
    const size_t sectors = (bytes.size() - 44) / 2352;
    for (size_t k = 0; k < sectors; ++k) {
        uint8_t* s = bytes.data() + 44 + k * 2352;
        if (!isVideoSector(s))
            continue;
        const uint32_t frame = le32(s + 24 + 8), chunk = s[24 + 4];
        if (frame == 10 && chunk == 0)
            std::memset(s + 56 + 8, 0, 2016 - 8);
        if (frame == 20 && chunk == 1)
            std::memcpy(s + 24 + 8, "\xff\xff\xff\x7f", 4);
    }
    const std::string movie = dir.file("damaged.str");
    test::writeFile(movie, bytes);

    test::CliRun r = test::runReelcast({"--convert", movie, "-o", dir.file("strict.avi"), "--strict"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "リードエラーが発生しました．\n");

    const std::string avi = dir.file("damaged.avi");
    r = test::runReelcast({"--convert", movie, "-o", avi});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "1 damaged frame header (frame number beyond the file) left out.\n"
                     "2 damaged frames skipped (the picture before stands in).\n");
    const auto file = slurp(avi);
    EXPECT_EQ(streamHeader(file, "vids").length, 92u);
    EXPECT_EQ(streamHeader(file, "auds").length, 92u * 2940);

    const std::string pictures = dir.file("frames");
    r = test::runReelcast({"--frames", movie, pictures});
    ASSERT_EQ(r.status, 0) << r.err;
    auto png = [&](int n) {
        char name[32];
        std::snprintf(name, sizeof name, "/frame_%05d.png", n);
        return slurp(pictures + name);
    };
    EXPECT_EQ(png(10), png(9));
    EXPECT_EQ(png(20), png(19));
    EXPECT_NE(png(11), png(10));
    EXPECT_NE(png(21), png(20));
    // The undamaged frames are those of the original movie.
    r = test::runReelcast({"--frames", shared("testsrc-v2-stereo37800.STR"), dir.file("original")});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(png(11), slurp(dir.file("original") + "/frame_00011.png"));
    EXPECT_NE(png(10), slurp(dir.file("original") + "/frame_00010.png"));
}

} // namespace
} // namespace reelcast
