// The whole conversion of a shared movie into an uncompressed AVI with its sound, in process and as
// the command line, beside FFmpeg writing the same kind of file; with the peak memory of each.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
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

ChildRun bestOf(const std::vector<std::string>& args, int runs)
{
    ChildRun best;
    for (int i = 0; i < runs; ++i) {
        const ChildRun r = runChild(args);
        if (r.wallSeconds < 0)
            return r;
        if (best.wallSeconds < 0 || r.wallSeconds < best.wallSeconds)
            best.wallSeconds = r.wallSeconds;
        if (best.cpuSeconds < 0 || r.cpuSeconds < best.cpuSeconds)
            best.cpuSeconds = r.cpuSeconds;
        best.peakKb = std::max(best.peakKb, r.peakKb);
    }
    return best;
}

void compareWithFfmpeg(const char* self)
{
    const std::string ffmpeg = REELCAST_FFMPEG;
    const std::string reelcast = (std::filesystem::path(self).parent_path() / "reelcast").string();
    if (ffmpeg.empty() || ffmpeg.find("NOTFOUND") != std::string::npos || !std::filesystem::exists(reelcast)) {
        std::printf("FFmpeg comparison skipped (no ffmpeg or no reelcast binary)\n");
        return;
    }
    const std::string ours = scratch("reelcast-bench-cli.avi"), theirs = scratch("reelcast-bench-ffmpeg.avi");
    const ChildRun a = bestOf({reelcast, "--convert", kMovie, "-o", ours}, 5);
    const ChildRun b = bestOf({ffmpeg, "-nostdin", "-y", "-v", "quiet", "-threads", "1", "-i", kMovie, "-c:v",
                               "rawvideo", "-pix_fmt", "bgr24", "-c:a", "pcm_s16le", "-ar", "44100", theirs},
                              5);
    std::filesystem::remove(ours);
    std::filesystem::remove(theirs);
    if (a.wallSeconds < 0 || b.wallSeconds < 0) {
        std::printf("FFmpeg comparison failed to run\n");
        return;
    }
    std::printf("\nWhole conversion of %s to an uncompressed AVI, best of 5:\n", kMovie.c_str());
    std::printf("%-10s wall %7.3f s  cpu %7.3f s  peak %6.1f MB\n", "reelcast", a.wallSeconds, a.cpuSeconds,
                a.peakKb / 1024.0);
    std::printf("%-10s wall %7.3f s  cpu %7.3f s  peak %6.1f MB\n", "ffmpeg", b.wallSeconds, b.cpuSeconds,
                b.peakKb / 1024.0);
    std::printf("reelcast/ffmpeg: wall %.2f, cpu %.2f (below 1: reelcast is faster)\n", a.wallSeconds / b.wallSeconds,
                a.cpuSeconds / b.cpuSeconds);
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
