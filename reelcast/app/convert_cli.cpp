#include "app/convert_cli.h"

#include <unistd.h>

#include <atomic>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <string>

#include "core/compression_options.h"
#include "core/conversion_job.h"
#include "core/movie_reader.h"

namespace reelcast {
namespace {

volatile std::sig_atomic_t gInterrupted = 0;
extern "C" void onInterrupt(int) { gInterrupted = 1; }

// Ctrl+C, a termination request and a closed terminal all stop the conversion the same way: the
// file is finalised with the frames written so far.
class StopSignals {
public:
    StopSignals()
    {
        gInterrupted = 0;
        struct sigaction action {};
        action.sa_handler = onInterrupt;
        sigemptyset(&action.sa_mask);
        for (int i = 0; i < 3; ++i)
            sigaction(kSignals[i], &action, &previous_[i]);
    }
    ~StopSignals()
    {
        for (int i = 0; i < 3; ++i)
            sigaction(kSignals[i], &previous_[i], nullptr);
    }

private:
    static constexpr int kSignals[3] = {SIGINT, SIGTERM, SIGHUP};
    struct sigaction previous_[3];
};

bool parseNumber(std::string_view text, int lo, int hi, int& value)
{
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && p == end && value >= lo && value <= hi;
}

struct ConvertRequest {
    std::string movie, output;
    JobSettings settings;
    uint32_t width = 0, height = 0; // 0: the movie's size
    bool strict = false;
    bool null = false; // decode and convert the pictures, write nothing
};

int usage(std::ostream& err, const std::string& why)
{
    err << "reelcast: " << why << "\nUsage:\n" << kConvertUsage;
    return 2;
}

// Returns 0 when the options are good, else the usage status after a message.
int parseConvert(const std::vector<std::string_view>& args, ConvertRequest& r, std::ostream& err)
{
    if (args.size() < 2)
        return usage(err, "--convert takes a movie file");
    r.movie = std::string(args[1]);
    for (size_t i = 2; i < args.size(); ++i) {
        const std::string_view opt = args[i];
        if (opt == "--strict" || opt == "--null") {
            (opt == "--strict" ? r.strict : r.null) = true;
            continue;
        }
        if (i + 1 >= args.size())
            return usage(err, std::string(opt) + " takes a value");
        const std::string_view val = args[++i];
        if (opt == "-o" || opt == "--output") {
            r.output = std::string(val);
        } else if (opt == "--fps") {
            int index = -1;
            if (val == "auto")
                index = 0;
            for (int k = 1; k < 7; ++k)
                if (val == std::to_string(kFrameRateChoices[k]))
                    index = k;
            if (index < 0)
                return usage(err, "--fps takes auto, 30, 24, 20, 15, 12 or 10");
            r.settings.frameRateIndex = index;
        } else if (opt == "--size") {
            const size_t x = val.find('x');
            int w = 0, h = 0;
            if (x == std::string_view::npos || !parseNumber(val.substr(0, x), 1, 4096, w) ||
                !parseNumber(val.substr(x + 1), 1, 4096, h))
                return usage(err, "--size takes WxH, e.g. 640x480");
            r.width = uint32_t(w);
            r.height = uint32_t(h);
        } else if (opt == "--method") {
            int m = 0;
            if (!parseNumber(val, 1, 2, m))
                return usage(err, "--method takes 1 (nearest) or 2 (interpolated)");
            r.settings.method = ResizeMethod(m);
        } else if (opt == "--codec") {
            const CompressorInfo* c = findCompressor(std::string(val));
            if (!c)
                return usage(err, "unknown compressor " + std::string(val) + " (see --codecs)");
            r.settings.options.fccHandler = c->fourCc;
        } else if (opt == "--gamma") {
            int g = 0;
            if (!parseNumber(val, GammaTable::kMinValue, GammaTable::kMaxValue, g))
                return usage(err, "--gamma takes a number from 0 to 200");
            r.settings.gamma.build(g);
        } else {
            return usage(err, "unknown option " + std::string(opt));
        }
    }
    if (r.output.empty())
        r.output = defaultOutputPath(r.movie);
    return 0;
}

void drawProgress(std::ostream& err, int32_t done, int32_t total)
{
    constexpr int kWidth = 40;
    const int percent = total > 0 ? int(int64_t(std::min(done, total)) * 100 / total) : 0;
    std::string bar(kWidth, ' ');
    for (int k = 0; k < percent * kWidth / 100; ++k)
        bar[k] = '#';
    err << "\r[" << bar << "] " << percent << "% " << done << " / " << total << std::flush;
}

int convert(const ConvertRequest& r, std::ostream& out, std::ostream& err)
{
    StopSignals signals; // from the start, so that no stop request ends the process unfinalised
    MovieReader reader;
    reader.setStrict(r.strict);
    if (int st = reader.open(r.movie)) {
        err << movieStatusMessage(st) << "\n";
        return 1;
    }
    if (int st = reader.scanFrames()) {
        err << (st == kMovieSeekError ? "ファイルシークに失敗しました．" : "リードエラーが発生しました．") << "\n";
        return 1;
    }
    const MovieInfo& m = reader.info();
    for (const std::string& note : movieNotes(m))
        err << note << "\n";
    JobSettings settings = r.settings;
    settings.resizeOn = r.width != 0;
    settings.paced = false;
    std::atomic<int> speed{kSpeedNormal};
    ConversionJob job(speed);
    std::mutex endLock;
    std::condition_variable ended;
    bool finished = false;
    job.setCallbacks(
        {},
        [&] {
            std::lock_guard<std::mutex> hold(endLock);
            finished = true;
            ended.notify_all();
        },
        [&err](const std::string& message) { err << message << "\n"; });
    if (!job.createBitmap(settings.resizeOn ? r.width : m.width, settings.resizeOn ? r.height : m.height)) {
        err << "Out of Memory.\n";
        return 1;
    }
    const int started = r.null ? job.startPreview(reader, settings) : job.startConversion(reader, r.output, settings);
    if (started != 0)
        return 1;

    const bool terminal = isatty(STDERR_FILENO);
    {
        std::unique_lock<std::mutex> hold(endLock);
        // The worker's end wakes this at once; the wait only times out to draw progress and to
        // notice a stop signal.
        while (!finished && job.running()) {
            if (gInterrupted) {
                hold.unlock();
                job.stopWorker();
                hold.lock();
                break;
            }
            if (terminal)
                drawProgress(err, job.framesRead(), m.totalFrames);
            ended.wait_for(hold, std::chrono::milliseconds(100));
        }
    }
    const bool released = job.releaseOutput();
    const bool done = job.done() && released;
    if (terminal) {
        drawProgress(err, job.framesRead(), m.totalFrames);
        err << "\n";
    }
    if (job.failed()) {
        err << job.failure() << " " << r.output << ": " << job.failureReason() << "\n";
        return 1;
    }
    if (job.damagedFrames() > 0)
        err << job.damagedFrames() << " damaged frame" << (job.damagedFrames() == 1 ? "" : "s")
            << " skipped (the picture before stands in).\n";
    if (!done) {
        if (r.null)
            err << "Stopped.\n";
        else
            err << "Stopped: " << r.output << " holds the frames written so far.\n";
        return 1;
    }
    if (r.null) {
        out << "Decoded " << m.totalFrames << " frames.\n";
        return 0;
    }
    out << "Convert done. " << r.output << ": " << m.totalFrames + 4 << " frames at " << job.frameRate()
        << " frames/sec\n";
    return 0;
}

} // namespace

int runConvertCli(const std::vector<std::string_view>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty())
        return usage(err, "no command");
    if (args[0] == "--codecs") {
        for (const CompressorInfo& c : availableCompressors())
            out << c.name << "\t" << fourCcText(c.fourCc) << "\t" << c.description << "\n";
        return 0;
    }
    ConvertRequest request;
    if (int st = parseConvert(args, request, err))
        return st;
    return convert(request, out, err);
}

} // namespace reelcast
