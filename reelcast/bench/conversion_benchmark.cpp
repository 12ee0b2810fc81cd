// The whole conversion of a shared movie into an uncompressed AVI with its sound, in process and as
// the command line, beside FFmpeg writing the same kind of file (and decoding alone beside FFmpeg's
// decoding), on the shared movie and on a ten times longer one made from it; CPU time of the whole
// process, one thread each, with the peak memory of each.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "core/conversion_job.h"

extern char** environ;

namespace {

const std::string kMovie = std::string(SUITE_TESTDATA_DIR) + "/movies/testsrc-v2-stereo37800.STR";

std::string scratch(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }

bool convertOnce(const std::string& out)
{
    reelcast::MovieReader reader;
    if (reader.open(kMovie) != 0 || reader.scanFrames() != 0)
        return false;
    std::atomic<int> speed{reelcast::kSpeedNormal};
    reelcast::ConversionJob job(speed);
    if (!job.createBitmap(reader.info().width, reader.info().height))
        return false;
    if (job.startConversion(reader, out, reelcast::JobSettings{}) != 0)
        return false;
    while (job.running())
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    job.releaseOutput();
    return job.done();
}

void BM_ConvertMovieInProcess(benchmark::State& state)
{
    const std::string out = scratch("reelcast-bench-inprocess.avi");
    for (auto _ : state)
        if (!convertOnce(out))
            state.SkipWithError("conversion failed");
    std::filesystem::remove(out);
}
BENCHMARK(BM_ConvertMovieInProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

struct ChildRun {
    double wallSeconds = -1, cpuSeconds = -1;
    long peakKb = 0;
};

// Runs argv as a child; wall time, CPU time and peak resident memory of that child alone.
ChildRun runChild(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    ChildRun r;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage use{};
        if (wait4(pid, &status, 0, &use) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
            r.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            auto secs = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
            r.cpuSeconds = secs(use.ru_utime) + secs(use.ru_stime);
            r.peakKb = use.ru_maxrss;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    return r;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The shared movie's sectors copies times over, the frame numbers of each copy following on from
// the copy before: a long movie of the same pictures and sound.
bool writeLongMovie(const std::string& path, int copies)
{
    constexpr size_t kHeader = 44, kSector = 2352;
    std::ifstream in(kMovie, std::ios::binary);
    const std::vector<uint8_t> movie{std::istreambuf_iterator<char>(in), {}};
    if (movie.size() < kHeader + kSector)
        return false;
    const size_t sectors = (movie.size() - kHeader) / kSector;
    auto isVideo = [](const uint8_t* s) { return s[24] == 0x60 && s[25] == 0x01 && s[26] == 0x01 && s[27] == 0x80; };
    auto frameNumber = [](const uint8_t* s) { return uint32_t(s[32] | s[33] << 8 | s[34] << 16 | s[35] << 24); };
    uint32_t frames = 0;
    for (size_t i = 0; i < sectors; ++i)
        if (isVideo(&movie[kHeader + i * kSector]))
            frames = std::max(frames, frameNumber(&movie[kHeader + i * kSector]));
    std::vector<uint8_t> out(movie.begin(), movie.begin() + kHeader);
    for (int c = 0; c < copies; ++c) {
        for (size_t i = 0; i < sectors; ++i) {
            const auto sector = movie.begin() + ptrdiff_t(kHeader + i * kSector);
            out.insert(out.end(), sector, sector + kSector);
            uint8_t* s = &out[out.size() - kSector];
            if (isVideo(s)) {
                const uint32_t n = frameNumber(s) + uint32_t(c) * frames;
                for (int b = 0; b < 4; ++b)
                    s[32 + b] = uint8_t(n >> (8 * b));
            }
        }
    }
    const uint32_t data = uint32_t(out.size() - kHeader);
    for (int b = 0; b < 4; ++b) {
        out[4 + b] = uint8_t((data + 36) >> (8 * b)); // RIFF size
        out[40 + b] = uint8_t(data >> (8 * b));       // data size
    }
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(out.data()), std::streamsize(out.size()));
    return bool(f.flush());
}

// Both commands in turn, runs times each; medians of the CPU times and of the ratios pair by pair.
void compareInTurn(const char* title, const std::vector<std::string>& ours, const std::vector<std::string>& theirs,
                   int runs)
{
    std::vector<double> a, b, ratio;
    long peakA = 0, peakB = 0;
    for (int i = 0; i < runs; ++i) {
        const ChildRun x = runChild(ours), y = runChild(theirs);
        if (x.cpuSeconds < 0 || y.cpuSeconds <= 0) {
            std::printf("%s: a run failed\n", title);
            return;
        }
        a.push_back(x.cpuSeconds);
        b.push_back(y.cpuSeconds);
        ratio.push_back(x.cpuSeconds / y.cpuSeconds);
        peakA = std::max(peakA, x.peakKb);
        peakB = std::max(peakB, y.peakKb);
    }
    std::printf("\n%s, CPU time, medians of %d runs in turn:\n", title, runs);
    std::printf("reelcast %7.3f s (peak %.1f MB)   ffmpeg %7.3f s (peak %.1f MB)   ratio %.2f (%.2f to %.2f)\n",
                median(a), peakA / 1024.0, median(b), peakB / 1024.0, median(ratio),
                *std::min_element(ratio.begin(), ratio.end()), *std::max_element(ratio.begin(), ratio.end()));
}

void compareWithFfmpeg(const char* self)
{
    const std::string ffmpeg = REELCAST_FFMPEG;
    const std::string reelcast = (std::filesystem::path(self).parent_path() / "reelcast").string();
    if (ffmpeg.empty() || ffmpeg.find("NOTFOUND") != std::string::npos || !std::filesystem::exists(reelcast)) {
        std::printf("FFmpeg comparison skipped (no ffmpeg or no reelcast binary)\n");
        return;
    }
    const std::string longMovie = scratch("reelcast-bench-long.STR");
    const std::string ours = scratch("reelcast-bench-cli.avi"), theirs = scratch("reelcast-bench-ffmpeg.avi");
    for (const std::string& movie : {kMovie, longMovie}) {
        if (movie == longMovie && !writeLongMovie(longMovie, 10))
            continue;
        const std::string name = std::filesystem::path(movie).filename().string();
        compareInTurn(("Conversion of " + name + " to an uncompressed AVI with sound").c_str(),
                      {reelcast, "--convert", movie, "-o", ours},
                      {ffmpeg, "-nostdin", "-y", "-v", "quiet", "-threads", "1", "-i", movie, "-c:v", "rawvideo",
                       "-pix_fmt", "bgr24", "-c:a", "pcm_s16le", "-ar", "44100", theirs},
                      9);
        compareInTurn(("Decoding of " + name + " alone").c_str(), {reelcast, "--convert", movie, "--null"},
                      {ffmpeg, "-nostdin", "-v", "quiet", "-threads", "1", "-i", movie, "-f", "null", "-"}, 9);
    }
    std::filesystem::remove(ours);
    std::filesystem::remove(theirs);
    std::filesystem::remove(longMovie);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    compareWithFfmpeg(argv[0]);
    return 0;
}
