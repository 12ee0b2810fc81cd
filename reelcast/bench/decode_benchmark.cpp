// Decoding speed on the shared test movie, beside FFmpeg's single-threaded decode of the same file.

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "core/frame_decoder.h"
#include "core/movie_reader.h"

namespace {

const std::string kMovie = std::string(SUITE_TESTDATA_DIR) + "/movies/testsrc-v2-stereo37800.STR";

struct Movie {
    uint32_t width = 0, height = 0;
    std::vector<std::vector<uint8_t>> frames;
};

const Movie& loadMovie()
{
    static Movie movie = [] {
        Movie m;
        reelcast::MovieReader reader;
        if (reader.open(kMovie) != 0 || reader.scanFrames() != 0)
            return m;
        m.width = reader.info().width;
        m.height = reader.info().height;
        for (int i = 0; i < reader.info().totalFrames; ++i) {
            const int st = reader.readNextFrame();
            if (st != 0 && st != reelcast::kMovieEnd)
                break;
            m.frames.emplace_back(reader.frameData(), reader.frameData() + reader.frameSize());
        }
        return m;
    }();
    return movie;
}

// The whole path FFmpeg takes too: open, scan, read and decode every frame. Returns the frames
// decoded (0 when the movie cannot be read).
int decodeWholeMovie()
{
    reelcast::MovieReader reader;
    if (reader.open(kMovie) != 0 || reader.scanFrames() != 0)
        return 0;
    const auto& info = reader.info();
    std::vector<uint32_t> picture(size_t(info.width) * info.height);
    reelcast::FrameDecoder decoder;
    int frames = 0;
    while (frames < info.totalFrames) {
        const int st = reader.readNextFrame();
        decoder.decodeFrame(reader.frameData(), reader.frameSize(), {picture.data(), info.width, info.height});
        ++frames;
        if (st != 0)
            break;
    }
    benchmark::DoNotOptimize(picture.data());
    return frames;
}

// Decoding only, from frames already in memory.
void BM_DecodeFrames(benchmark::State& state)
{
    const Movie& m = loadMovie();
    if (m.frames.empty()) {
        state.SkipWithError("movie not readable");
        return;
    }
    std::vector<uint32_t> picture(size_t(m.width) * m.height);
    reelcast::FrameDecoder decoder;
    for (auto _ : state) {
        for (const auto& f : m.frames)
            decoder.decodeFrame(f.data(), f.size(), {picture.data(), m.width, m.height});
        benchmark::DoNotOptimize(picture.data());
    }
    state.counters["frames/s"] =
        benchmark::Counter(double(m.frames.size()), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_DecodeFrames)->Unit(benchmark::kMillisecond);

void BM_ReadAndDecodeMovie(benchmark::State& state)
{
    int frames = 0;
    for (auto _ : state)
        frames = decodeWholeMovie();
    if (frames == 0)
        state.SkipWithError("movie not readable");
    state.counters["frames/s"] = benchmark::Counter(double(frames), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ReadAndDecodeMovie)->Unit(benchmark::kMillisecond);

// CPU seconds (user + system) of a child command, best of a few runs; negative when it cannot run.
// CPU time rather than wall time: the figures stay comparable on a busy machine.
double childCpuSeconds(const std::string& command, int runs)
{
    double best = -1;
    for (int i = 0; i < runs; ++i) {
        rusage before{}, after{};
        getrusage(RUSAGE_CHILDREN, &before);
        if (std::system(command.c_str()) != 0)
            return -1;
        getrusage(RUSAGE_CHILDREN, &after);
        auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
        const double s =
            seconds(after.ru_utime) - seconds(before.ru_utime) + seconds(after.ru_stime) - seconds(before.ru_stime);
        if (best < 0 || s < best)
            best = s;
    }
    return best;
}

double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Our side of the comparison: best CPU time of a whole-movie pass.
double ourCpuSeconds(int runs)
{
    double best = -1;
    for (int run = 0; run < runs; ++run) {
        const double start = processCpuSeconds();
        if (decodeWholeMovie() == 0)
            return -1;
        const double s = processCpuSeconds() - start;
        if (best < 0 || s < best)
            best = s;
    }
    return best;
}

void compareWithFfmpeg()
{
    const std::string ffmpeg = REELCAST_FFMPEG;
    const size_t frames = loadMovie().frames.size();
    if (ffmpeg.empty() || ffmpeg.find("NOTFOUND") != std::string::npos || frames == 0) {
        std::printf("FFmpeg comparison skipped (no ffmpeg or no movie)\n");
        return;
    }
    // The plain command (it decodes the sound too, and its start-up weighs most). Then FFmpeg's cost
    // per frame without its start-up: the pictures of ten copies of the movie in one process less
    // those of one copy, as decoded (YUV) and converted to 32-bit RGB as reelcast gives them.
    const std::string base = "'" + ffmpeg + "' -nostdin -v quiet -threads 1 ";
    const std::string one = " -i '" + kMovie + "' -map 0:v ";
    std::string ten, maps;
    for (int i = 0; i < 10; ++i) {
        ten += " -i '" + kMovie + "'";
        maps += " -map " + std::to_string(i) + ":v";
    }
    ten += maps + " ";
    const double plain = childCpuSeconds(base + " -i '" + kMovie + "' -f null -", 5);
    const double yuvOne = childCpuSeconds(base + one + "-f null -", 5);
    const double yuvTen = childCpuSeconds(base + ten + "-f null -", 3);
    const double rgbOne = childCpuSeconds(base + one + "-pix_fmt bgr0 -f null -", 5);
    const double rgbTen = childCpuSeconds(base + ten + "-pix_fmt bgr0 -f null -", 3);
    const double ours = ourCpuSeconds(10);
    if (plain <= 0 || yuvTen <= yuvOne || rgbTen <= rgbOne || ours <= 0) {
        std::printf("FFmpeg comparison failed to run\n");
        return;
    }
    const double oursRate = frames / ours;
    auto line = [&](const char* what, double rate) {
        std::printf("%-44s: %8.1f frames/s   reelcast/ffmpeg %.2f\n", what, rate, oursRate / rate);
    };
    std::printf("\n%zu frames of %s; CPU time, best of several runs\n", frames, kMovie.c_str());
    std::printf("%-44s: %8.1f frames/s\n", "reelcast open+scan+read+decode to RGB", oursRate);
    line("ffmpeg -threads 1 -i FILE -f null -", frames / plain);
    line("ffmpeg per frame without start-up, YUV", 9.0 * frames / (yuvTen - yuvOne));
    line("ffmpeg per frame without start-up, to RGB", 9.0 * frames / (rgbTen - rgbOne));
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    compareWithFfmpeg();
    return 0;
}
