// Conversions of the shared movies into AVI files, read back with FFmpeg: frame and sample counts,
// rates, picture quality against FFmpeg's own decode of the movie, sound against its adpcm_xa decode,
// the compressors, stopping, and the set-up failures.

#include <gtest/gtest.h>

#include <sched.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>
#include <sstream>
#include <thread>

#include "app/cli.h"
#include "core/compression_options.h"
#include "core/conversion_job.h"
#include "signal_compare.h"
#include "support/movie_builder.h"

namespace reelcast {
namespace {

std::string moviePath(const char* file) { return std::string(SUITE_TESTDATA_DIR) + "/movies/" + file; }

bool haveFfmpeg()
{
    const std::string f = REELCAST_FFMPEG;
    return !f.empty() && f.find("NOTFOUND") == std::string::npos;
}

std::string ffprobe()
{
    std::string f = REELCAST_FFMPEG;
    return f.substr(0, f.size() - 6) + "ffprobe";
}

std::string capture(const std::string& cmd)
{
    std::string out;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[256];
        while (size_t n = fread(buf, 1, sizeof buf, p))
            out.append(buf, n);
        pclose(p);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
        out.pop_back();
    return out;
}

std::string probe(const std::string& file, const std::string& stream, const std::string& entry)
{
    return capture("'" + ffprobe() + "' -v error -count_frames -select_streams " + stream +
                   " -show_entries stream=" + entry + " -of csv=p=0 '" + file + "'");
}

std::vector<uint8_t> slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// FFmpeg's decode of a file's video (packed pixels) or sound (s16le at its own or a given rate).
// Our files must decode without a single error (-xerror); the movies are only the reference.
std::vector<uint8_t> decode(const std::string& file, const std::string& args, const test::TempDir& dir)
{
    const std::string out = dir.file("decoded.raw");
    std::remove(out.c_str());
    const bool movie = file.size() > 4 && file.compare(file.size() - 4, 4, ".STR") == 0;
    const std::string cmd = "'" + std::string(REELCAST_FFMPEG) + "' -nostdin -v " +
                            (movie ? "fatal" : "error -xerror") + " -i '" + file + "' " + args + " '" + out + "'";
    if (std::system(cmd.c_str()) != 0)
        return {};
    return slurp(out);
}

double psnr(const uint8_t* a, const uint8_t* b, size_t bytes)
{
    double sq = 0;
    for (size_t i = 0; i < bytes; ++i) {
        const double d = double(a[i]) - b[i];
        sq += d * d;
    }
    return sq == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 * double(bytes) / sq);
}

std::vector<int16_t> samples(const std::vector<uint8_t>& raw)
{
    std::vector<int16_t> s(raw.size() / 2);
    std::memcpy(s.data(), raw.data(), s.size() * 2);
    return s;
}

int runCliArgs(std::vector<std::string> args, std::string* errText = nullptr)
{
    args.insert(args.begin(), "reelcast");
    std::vector<const char*> argv;
    for (auto& a : args)
        argv.push_back(a.c_str());
    std::ostringstream out, err;
    const int st = runCli(int(argv.size()), argv.data(), out, err);
    if (errText)
        *errText = err.str();
    return st;
}

struct MovieCase {
    const char* file;
    int frames, rate, channels;
    uint32_t width, height;
};

class ConvertedMovie : public testing::TestWithParam<MovieCase> {};

TEST_P(ConvertedMovie, ReadsBackWithFramesRateSoundAndPictures)
{
    if (!haveFfmpeg())
        GTEST_SKIP() << "ffmpeg not found";
    const MovieCase& c = GetParam();
    test::TempDir dir;
    const std::string avi = dir.file("out.avi");
    ASSERT_EQ(runCliArgs({"--convert", moviePath(c.file), "-o", avi}), 0);

    EXPECT_EQ(probe(avi, "v:0", "codec_name,width,height,nb_read_frames"), "rawvideo," + std::to_string(c.width) + "," +
                                                                               std::to_string(c.height) + "," +
                                                                               std::to_string(c.frames + 4));
    const std::string rate = probe(avi, "v:0", "r_frame_rate");
    const size_t slash = rate.find('/');
    ASSERT_NE(slash, std::string::npos) << rate;
    EXPECT_NEAR(std::stod(rate.substr(0, slash)) / std::stod(rate.substr(slash + 1)), c.rate, 0.001);
    // The uncompressed frames name "DIB " as their handler.
    const std::vector<uint8_t> file = slurp(avi);
    const auto strh = std::search(file.begin(), file.end(), std::begin("strh"), std::end("strh") - 1);
    ASSERT_NE(strh, file.end());
    EXPECT_EQ(std::string(strh + 12, strh + 16), "DIB ");

    // Every frame against FFmpeg's decode of the movie: frames 0 to 3 show the first picture.
    const auto ours = decode(avi, "-f rawvideo -pix_fmt rgb24", dir);
    const auto ref = decode(moviePath(c.file), "-an -f rawvideo -pix_fmt rgb24", dir);
    const size_t frameBytes = size_t(c.width) * c.height * 3;
    ASSERT_EQ(ours.size(), frameBytes * (c.frames + 4));
    const size_t refFrames = ref.size() / frameBytes;
    ASSERT_GE(refFrames, size_t(c.frames) - 1);
    double lowest = 99;
    for (size_t i = 0; i < size_t(c.frames + 4); ++i) {
        const size_t r = std::min(i < 4 ? 0 : i - 3, refFrames - 1);
        lowest = std::min(lowest, psnr(ours.data() + i * frameBytes, ref.data() + r * frameBytes, frameBytes));
    }
    std::printf("[ AVI      ] %s: lowest frame PSNR %.2f dB\n", c.file, lowest);
    EXPECT_GE(lowest, 40.0);

    if (c.channels == 0) {
        EXPECT_EQ(probe(avi, "a", "codec_name"), "");
        return;
    }
    EXPECT_EQ(probe(avi, "a:0", "codec_name,sample_rate,channels"), "pcm_s16le,44100," + std::to_string(c.channels));
    const auto sound = samples(decode(avi, "-vn -f s16le", dir));
    EXPECT_EQ(sound.size(), size_t(c.frames + 4) * size_t(44100 / c.rate) * c.channels);
    const auto refSound = samples(decode(moviePath(c.file), "-vn -ar 44100 -f s16le", dir));
    const double r = test::correlation(sound.data(), refSound.data(), std::min(sound.size(), refSound.size()));
    std::printf("[ AVI      ] %s: sound correlation %.4f\n", c.file, r);
    EXPECT_GE(r, 0.95);
}

INSTANTIATE_TEST_SUITE_P(Movies, ConvertedMovie,
                         testing::Values(MovieCase{"bars-v3-30fps-silent.STR", 119, 30, 0, 256, 224},
                                         MovieCase{"mandel-v3-mono18900-audiofirst.STR", 71, 15, 1, 320, 240},
                                         MovieCase{"testsrc-v2-stereo37800.STR", 88, 15, 2, 320, 240}));

TEST(Conversion, FfV1IsLosslessAndMjpegPlays)
{
    if (!haveFfmpeg())
        GTEST_SKIP() << "ffmpeg not found";
    test::TempDir dir;
    const std::string movie = moviePath("testsrc-v2-stereo37800.STR");
    const std::string raw = dir.file("raw.avi"), ffv1 = dir.file("ffv1.avi"), mjpeg = dir.file("mjpeg.avi");
    ASSERT_EQ(runCliArgs({"--convert", movie, "-o", raw, "--size", "160x120", "--method", "2"}), 0);
    ASSERT_EQ(runCliArgs({"--convert", movie, "-o", ffv1, "--size", "160x120", "--method", "2", "--codec", "ffv1"}), 0);
    ASSERT_EQ(runCliArgs({"--convert", movie, "-o", mjpeg, "--codec", "MJPG"}), 0);
    EXPECT_EQ(probe(ffv1, "v:0", "codec_name,codec_tag_string,width,height,nb_read_frames"), "ffv1,FFV1,160,120,92");
    EXPECT_EQ(probe(mjpeg, "v:0", "codec_name,codec_tag_string,nb_read_frames"), "mjpeg,MJPG,92");
    const auto a = decode(raw, "-f rawvideo -pix_fmt bgr24", dir);
    const auto b = decode(ffv1, "-f rawvideo -pix_fmt bgr24", dir);
    ASSERT_EQ(a.size(), size_t(160 * 120 * 3 * 92));
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(decode(mjpeg, "-f rawvideo -pix_fmt rgb24", dir).empty()); // decodes without an error
}

TEST(Conversion, StopFinalisesAPlayableFileWithoutTheFinishedNotice)
{
    if (!haveFfmpeg())
        GTEST_SKIP() << "ffmpeg not found";
    test::TempDir dir;
    MovieReader reader;
    ASSERT_EQ(reader.open(moviePath("testsrc-v2-stereo37800.STR")), kMovieOk);
    ASSERT_EQ(reader.scanFrames(), kMovieOk);
    std::atomic<int> speed{kSpeedSlow};
    ConversionJob job(speed);
    std::atomic<int> finished{0};
    job.setCallbacks({}, [&] { ++finished; }, {});
    ASSERT_TRUE(job.createBitmap(320, 240));
    const std::string avi = dir.file("stopped.avi");
    ASSERT_EQ(job.startConversion(reader, avi, JobSettings{}), 0);
    while (job.running() && job.framesRead() < 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    job.stopWorker();
    EXPECT_FALSE(job.running());
    ASSERT_FALSE(job.done()) << "the job ended before it could be stopped";
    EXPECT_EQ(finished, 0);
    const int frames = std::stoi(probe(avi, "v:0", "nb_read_frames"));
    EXPECT_GE(frames, 10);
    EXPECT_LT(frames, 92);
    EXPECT_FALSE(decode(avi, "-f rawvideo -pix_fmt rgb24", dir).empty());
    // The sound stops with the pictures: one video frame's worth of samples per frame written.
    EXPECT_EQ(samples(decode(avi, "-vn -f s16le", dir)).size(), size_t(frames) * 2940 * 2);
}

TEST(Conversion, PreviewRunsEveryFrameAndWritesNothing)
{
    test::TempDir dir;
    MovieReader reader;
    ASSERT_EQ(reader.open(moviePath("bars-v3-30fps-silent.STR")), kMovieOk);
    ASSERT_EQ(reader.scanFrames(), kMovieOk);
    std::atomic<int> speed{kSpeedNormal};
    ConversionJob job(speed);
    std::atomic<int> repaints{0}, finished{0};
    job.setCallbacks([&] { ++repaints; }, [&] { ++finished; }, {});
    ASSERT_TRUE(job.createBitmap(160, 120));
    JobSettings s;
    s.resizeOn = true;
    ASSERT_EQ(job.startPreview(reader, s), 0);
    while (job.running())
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    job.releaseOutput();
    EXPECT_TRUE(job.done());
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(repaints, 119 + 4);
    EXPECT_EQ(job.framesRead(), 119);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

// Slow and back to Normal during a preview: the worker's own scheduling policy, seen from the repaint
// callback (which runs on the worker), must come back to normal whether or not idle priority was
// allowed; without that permission Slow pauses instead of going idle.
TEST(Conversion, SlowCanAlwaysBeLeftForNormal)
{
    for (const bool idleAllowed : {false, true}) {
        if (idleAllowed && !canLeaveIdlePriority())
            continue; // this user may not: the other pass covers it
        SCOPED_TRACE(idleAllowed ? "idle priority allowed" : "idle priority not allowed");
        MovieReader reader;
        ASSERT_EQ(reader.open(moviePath("bars-v3-30fps-silent.STR")), kMovieOk);
        ASSERT_EQ(reader.scanFrames(), kMovieOk);
        std::atomic<int> speed{kSpeedSlow};
        ConversionJob job(speed);
        job.setIdleProbe([idleAllowed] { return idleAllowed; });
        std::mutex m;
        std::vector<std::pair<int, bool>> seen; // policy and pausing, per frame
        job.setCallbacks(
            [&] {
                std::lock_guard<std::mutex> hold(m);
                seen.emplace_back(sched_getscheduler(0), job.pausing());
            },
            {}, {});
        ASSERT_TRUE(job.createBitmap(256, 224));
        ASSERT_EQ(job.startPreview(reader, JobSettings{}), 0);
        auto frames = [&] {
            std::lock_guard<std::mutex> hold(m);
            return seen.size();
        };
        while (frames() < 3 && job.running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        speed = kSpeedNormal;
        while (job.running())
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        job.releaseOutput();
        ASSERT_TRUE(job.done());
        ASSERT_GE(seen.size(), 3u);
        EXPECT_EQ(seen.front().first, idleAllowed ? SCHED_IDLE : SCHED_OTHER);
        EXPECT_EQ(seen.front().second, !idleAllowed);
        EXPECT_EQ(seen.back().first, SCHED_OTHER);
        EXPECT_FALSE(seen.back().second);
    }
}

TEST(Conversion, SetUpFailuresReportAndStartNothing)
{
    MovieReader reader;
    ASSERT_EQ(reader.open(moviePath("bars-v3-30fps-silent.STR")), kMovieOk);
    ASSERT_EQ(reader.scanFrames(), kMovieOk);
    std::atomic<int> speed{kSpeedNormal};
    ConversionJob job(speed);
    std::vector<std::string> messages;
    job.setCallbacks({}, {}, [&](const std::string& m) { messages.push_back(m); });
    ASSERT_TRUE(job.createBitmap(256, 224));
    EXPECT_EQ(job.startConversion(reader, "/nonexistent-folder/x.avi", JobSettings{}), -1);
    JobSettings unknown;
    unknown.options.fccHandler = makeFourCc("ZZZZ");
    test::TempDir dir;
    EXPECT_EQ(job.startConversion(reader, dir.file("x.avi"), unknown), -1);
    EXPECT_EQ(messages, (std::vector<std::string>{"AVIfile can't create.", "Can't AVIMakeCompressedStream."}));
    EXPECT_FALSE(job.running());
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.avi"))); // nothing half-made is left behind
}

TEST(Conversion, CommandLineRefusesBadOptions)
{
    struct Case {
        std::vector<std::string> args;
        int status;
    };
    const std::string movie = moviePath("bars-v3-30fps-silent.STR");
    for (const Case& c :
         {Case{{"--convert"}, 2}, Case{{"--convert", movie, "--fps", "25"}, 2},
          Case{{"--convert", movie, "--size", "640"}, 2}, Case{{"--convert", movie, "--method", "3"}, 2},
          Case{{"--convert", movie, "--codec", "nonesuch"}, 2}, Case{{"--convert", movie, "--gamma", "201"}, 2},
          Case{{"--convert", movie, "-o"}, 2}, Case{{"--convert", "/nonexistent.STR"}, 1}}) {
        std::string err;
        EXPECT_EQ(runCliArgs(c.args, &err), c.status) << c.args.back();
        EXPECT_FALSE(err.empty());
    }
}

TEST(CompressionOptions, RecordRoundTripAndDefaults)
{
    const CompressionOptions defaults;
    const auto record = defaults.toRecord();
    const uint8_t expected[44] = {'v',  'i',  'd', 's', 'D', 'I',  'B', ' ', 4,  0, 0, 0,
                                  0x10, 0x27, 0,   0,   0,   0xB0, 4,   0,   14, 0, 0, 0};
    EXPECT_EQ(std::memcmp(record.data(), expected, 44), 0);

    CompressionOptions custom;
    custom.fccHandler = makeFourCc("MJPG");
    custom.dwQuality = 7500;
    custom.lpParms = 1234;
    custom.cbParms = 16;
    auto bytes = custom.toRecord();
    const CompressionOptions back = CompressionOptions::fromRecord({bytes.begin(), bytes.end()});
    EXPECT_EQ(back.fccHandler, custom.fccHandler);
    EXPECT_EQ(back.dwQuality, 7500u);
    EXPECT_EQ(back.lpParms, 0u); // a state block never outlives the run
    EXPECT_EQ(back.cbParms, 0u);

    EXPECT_EQ(CompressionOptions::fromRecord({bytes.begin(), bytes.end() - 1}), defaults);
    bytes[20] &= uint8_t(~kCompressValid);
    EXPECT_EQ(CompressionOptions::fromRecord({bytes.begin(), bytes.end()}), defaults);
}

TEST(CompressionOptions, CompressorList)
{
    const auto& list = availableCompressors();
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list.front().description, "Full Frames (Uncompressed)");
    for (const char* name : {"mjpeg", "ffv1", "huffyuv", "mpeg4"})
        EXPECT_NE(findCompressor(name), nullptr) << name;
    EXPECT_EQ(findCompressor("FFV1"), findCompressor("ffv1"));
    EXPECT_EQ(findCompressor(kFccDib), &list.front());
    EXPECT_EQ(findCompressor("xyz"), nullptr);
}

TEST(ConversionJob, OutputNameAndFrameRate)
{
    struct Case {
        const char *movie, *avi;
    };
    for (const Case& c : {Case{"/m/MOVIE.STR", "/m/MOVIE.AVI"}, Case{"/m/MOVIE", "/m/MOVIE.AVI"},
                          Case{"/m.v2/MOVIE", "/m.v2/MOVIE.AVI"}, Case{"a.b.str", "a.b.AVI"}})
        EXPECT_EQ(defaultOutputPath(c.movie), c.avi);
    EXPECT_EQ(jobFrameRate(0, 20), 20);
    EXPECT_EQ(jobFrameRate(0, 0), kFallbackFrameRate);
    EXPECT_EQ(jobFrameRate(4, 30), 15);
    EXPECT_EQ(jobFrameRate(6, 0), 10);
}

} // namespace
} // namespace reelcast
