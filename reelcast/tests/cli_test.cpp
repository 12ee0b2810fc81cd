#include "app/cli.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "app/png_writer.h"
#include "core/frame_decoder.h"
#include "core/movie_reader.h"
#include "support/cli_run.h"
#include "support/movie_builder.h"

namespace reelcast {
namespace {

std::string movie(const char* file) { return std::string(SUITE_TESTDATA_DIR) + "/movies/" + file; }

struct UsageCase {
    const char* name;
    std::vector<std::string> args;
    int status;
    const char* outContains;
    const char* errContains;
};

class Usage : public testing::TestWithParam<UsageCase> {};

TEST_P(Usage, GivesStatusAndText)
{
    const auto& c = GetParam();
    const test::CliRun r = test::runReelcast(c.args);
    EXPECT_EQ(r.status, c.status);
    EXPECT_NE(r.out.find(c.outContains), std::string::npos) << r.out;
    EXPECT_NE(r.err.find(c.errContains), std::string::npos) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, Usage,
    testing::Values(UsageCase{"NoArguments", {}, 0, "Usage: reelcast", ""},
                    UsageCase{"Help", {"--help"}, 0, "--frames FILE DIR", ""},
                    UsageCase{"Version", {"--version"}, 0, "reelcast 1.06", ""},
                    UsageCase{"UnknownOption", {"--nonesuch"}, 2, "", "unknown option --nonesuch"},
                    UsageCase{"InfoWithoutFile", {"--info"}, 2, "", "Usage"},
                    UsageCase{"GammaOutOfRange", {"--frames", "a.str", "dir", "--gamma", "201"}, 2, "", "0 to 200"},
                    UsageCase{"GammaNotANumber", {"--frames", "a.str", "dir", "--gamma", "1x"}, 2, "", "0 to 200"},
                    UsageCase{"MissingMovie", {"--info", "/nonexistent/m.str"}, 1, "", "File open ERROR."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Cli, InfoPrintsVideoInformationAndSoundTrack)
{
    const test::CliRun r = test::runReelcast({"--info", movie("testsrc-v2-stereo37800.STR")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Total frame\t88\nWidth\t\t320\nHeight\t\t240\nFrame rate\t15 Frame/sec\n"
                     "Audio track\tfirst sector 7, stride 8, 37800 Hz, stereo, file 0, channel 0\n"
                     "Disc timing\t150 sectors/sec, 15 Frame/sec (used for auto)\n");
    const test::CliRun silent = test::runReelcast({"--info", movie("bars-v3-30fps-silent.STR")});
    EXPECT_NE(silent.out.find("Frame rate\t30 Frame/sec\nAudio track\tnone\n"), std::string::npos) << silent.out;
}

TEST(Cli, InfoReportsFormatErrorsAndScanFailures)
{
    test::TempDir dir;
    test::MovieBuilder audioOnly;
    audioOnly.audio().audio();
    test::CliRun r = test::runReelcast({"--info", audioOnly.write(dir, "a.str")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "This file isn't PSX movie file format.\n");

    test::MovieBuilder corrupt;
    corrupt.video(1, 0, 1).video(50, 0, 1); // frame 50 in a file of 2 sectors
    r = test::runReelcast({"--info", corrupt.write(dir, "c.str"), "--strict"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "リードエラーが発生しました．\n");
    r = test::runReelcast({"--info", dir.file("c.str")});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("Total frame\t1\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.err, "1 damaged frame header (frame number beyond the file) left out.\n");
}

// Inflates the IDAT data of a PNG written by encodePng back to RGB rows.
std::vector<uint8_t> pngPixels(const std::vector<uint8_t>& png, uint32_t& width, uint32_t& height)
{
    auto be32 = [&](size_t at) { return uint32_t(png[at]) << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3]; };
    std::vector<uint8_t> idat;
    for (size_t at = 8; at + 8 <= png.size();) {
        const uint32_t len = be32(at);
        const std::string type(png.begin() + at + 4, png.begin() + at + 8);
        if (type == "IHDR")
            width = be32(at + 8), height = be32(at + 12);
        if (type == "IDAT")
            idat.insert(idat.end(), png.begin() + at + 8, png.begin() + at + 8 + len);
        const uLong crc = crc32(0, png.data() + at + 4, len + 4);
        EXPECT_EQ(crc, be32(at + 8 + len)) << type;
        at += 12 + len;
    }
    std::vector<uint8_t> raw((size_t(width) * 3 + 1) * height);
    uLongf rawSize = raw.size();
    EXPECT_EQ(uncompress(raw.data(), &rawSize, idat.data(), idat.size()), Z_OK);
    EXPECT_EQ(rawSize, raw.size());
    return raw;
}

TEST(Cli, FramesWritesEveryFrameAsPng)
{
    test::TempDir dir;
    const std::string out = (dir.path() / "frames" / "sub").string(); // created as needed
    const test::CliRun r = test::runReelcast({"--frames", movie("bars-v3-30fps-silent.STR"), out, "--gamma", "100"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Wrote 119 frames to " + out + "\n");
    size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(out))
        files += e.path().extension() == ".png";
    EXPECT_EQ(files, 119u);

    // Frame 1 holds exactly the decoder's picture.
    MovieReader reader;
    ASSERT_EQ(reader.open(movie("bars-v3-30fps-silent.STR")), kMovieOk);
    ASSERT_EQ(reader.readNextFrame(), kMovieOk);
    std::vector<uint32_t> picture(256 * 224, 0);
    FrameDecoder().decodeFrame(reader.frameData(), reader.frameSize(), {picture.data(), 256, 224});
    std::ifstream in(out + "/frame_00001.png", std::ios::binary);
    const std::vector<uint8_t> png{std::istreambuf_iterator<char>(in), {}};
    uint32_t w = 0, h = 0;
    const std::vector<uint8_t> raw = pngPixels(png, w, h);
    ASSERT_EQ(w, 256u);
    ASSERT_EQ(h, 224u);
    for (uint32_t y = 0; y < h; ++y) {
        ASSERT_EQ(raw[y * (w * 3 + 1)], 0); // filter: none
        for (uint32_t x = 0; x < w; ++x) {
            const uint8_t* p = &raw[y * (w * 3 + 1) + 1 + x * 3];
            ASSERT_EQ(uint32_t(p[0] | p[1] << 8 | p[2] << 16), picture[y * w + x]) << x << "," << y;
        }
    }
}

} // namespace
} // namespace reelcast
