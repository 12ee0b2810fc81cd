// Decoding speed on the shared test movie, beside FFmpeg's single-threaded decode of the same file.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
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

const Movie& loadMovie() {
    static Movie movie = [] {
        Movie m;
        reelcast::MovieReader reader;
        if (reader.open(kMovie) != 0 || reader.scanFrames() != 0) return m;
        m.width = reader.info().width;
        m.height = reader.info().height;
        for (int i = 0; i < reader.info().totalFrames; ++i) {
            const int st = reader.readNextFrame();
            if (st != 0 && st != reelcast::kMovieEnd) break;
            m.frames.emplace_back(reader.frameData(), reader.frameData() + reader.frameSize());
        }
        return m;
    }();
    return movie;
}

// Decoding only, from frames already in memory.
void BM_DecodeFrames(benchmark::State& state) {
    const Movie& m = loadMovie();
    if (m.frames.empty()) {
        state.SkipWithError("movie not readable");
        return;
    }
    std::vector<uint32_t> picture(size_t(m.width) * m.height);
    reelcast::FrameDecoder decoder;
    for (auto _ : state) {
        for (const auto& f : m.frames) decoder.decodeFrame(f.data(), f.size(), {picture.data(), m.width, m.height});
        benchmark::DoNotOptimize(picture.data());
    }
    state.counters["frames/s"] =
        benchmark::Counter(double(m.frames.size()), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_DecodeFrames)->Unit(benchmark::kMillisecond);

// The whole path FFmpeg takes too: open, scan, read and decode every frame.
void BM_ReadAndDecodeMovie(benchmark::State& state) {
    int frames = 0;
    for (auto _ : state) {
        reelcast::MovieReader reader;
        if (reader.open(kMovie) != 0 || reader.scanFrames() != 0) {
            state.SkipWithError("movie not readable");
            return;
        }
        const auto& info = reader.info();
        std::vector<uint32_t> picture(size_t(info.width) * info.height);
        reelcast::FrameDecoder decoder;
        frames = 0;
        for (int i = 0; i < info.totalFrames; ++i, ++frames) {
            const int st = reader.readNextFrame();
            decoder.decodeFrame(reader.frameData(), reader.frameSize(), {picture.data(), info.width, info.height});
            if (st != 0) break;
        }
        benchmark::DoNotOptimize(picture.data());
    }
    state.counters["frames/s"] = benchmark::Counter(double(frames), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ReadAndDecodeMovie)->Unit(benchmark::kMillisecond);

// Best wall time of a few runs of an FFmpeg command, in seconds; negative when it cannot run.
double timeCommand(const std::string& command, int runs) {
    double best = -1;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) return -1;
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (best < 0 || s < best) best = s;
    }
    return best;
}

void compareWithFfmpeg() {
    const std::string ffmpeg = REELCAST_FFMPEG;
    const size_t frames = loadMovie().frames.size();
    if (ffmpeg.empty() || ffmpeg.find("NOTFOUND") != std::string::npos || frames == 0) {
        std::printf("FFmpeg comparison skipped (no ffmpeg or no movie)\n");
        return;
    }
    // One pass, and ten passes in one process so that its start-up weighs less.
    const std::string base = "'" + ffmpeg + "' -nostdin -v fatal -threads 1 ";
    const std::string tail = " -i '" + kMovie + "' -an -f null - ";
    const double once = timeCommand(base + tail, 5);
    const double ten = timeCommand(base + "-stream_loop 9" + tail, 3);
    if (once < 0 || ten < 0) {
        std::printf("FFmpeg comparison failed to run\n");
        return;
    }

    // Our side, timed the same way for the ratio: best of a few full read-and-decode passes.
    double ours = -1;
    for (int run = 0; run < 5; ++run) {
        const auto start = std::chrono::steady_clock::now();
        reelcast::MovieReader reader;
        reader.open(kMovie);
        reader.scanFrames();
        const auto& info = reader.info();
        std::vector<uint32_t> picture(size_t(info.width) * info.height);
        reelcast::FrameDecoder decoder;
        for (int i = 0; i < info.totalFrames; ++i) {
            const int st = reader.readNextFrame();
            decoder.decodeFrame(reader.frameData(), reader.frameSize(), {picture.data(), info.width, info.height});
            if (st != 0) break;
        }
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (ours < 0 || s < ours) ours = s;
    }
    const double ffmpegOnce = frames / once, ffmpegTen = 10.0 * frames / ten;
    const double oursRate = frames / ours;
    std::printf("\n%zu frames of %s\n", frames, kMovie.c_str());
    std::printf("reelcast read+decode     : %9.1f frames/s\n", oursRate);
    std::printf("ffmpeg -threads 1 (1 run): %9.1f frames/s  ratio reelcast/ffmpeg %.2f\n", ffmpegOnce,
                oursRate / ffmpegOnce);
    std::printf("ffmpeg -threads 1 (x10)  : %9.1f frames/s  ratio reelcast/ffmpeg %.2f\n", ffmpegTen,
                oursRate / ffmpegTen);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    compareWithFfmpeg();
    return 0;
}
