#include "app/cli.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/convert_cli.h"
#include "app/png_writer.h"
#include "core/frame_decoder.h"
#include "core/frame_source.h"
#include "core/gamma_table.h"
#include "core/movie_reader.h"

namespace reelcast {
namespace {

constexpr const char* kUsage =
    "Usage: reelcast --info FILE [--strict]\n"
    "       reelcast --frames FILE DIR [--gamma N]\n"
    "       reelcast --help | --version\n"
    "\n"
    "Reads PlayStation CD movie files (.STR, .MOV).\n"
    "  --info FILE        scan the movie; print its frame count, picture size, frame rate and sound track\n"
    "  --frames FILE DIR  decode every frame into DIR/frame_NNNNN.png (numbered from 00001)\n"
    "  --gamma N          gamma correction 0 to 200 (default 100)\n"
    "  --strict           refuse a cut file and frame numbers beyond the file, as the format has it\n"
    "  --help             show this text\n"
    "  --version          show the version\n";

// The scan reports its failures in the scan box's own words.
const char* scanFailureMessage(int status)
{
    return status == kMovieSeekError ? "ファイルシークに失敗しました．" : "リードエラーが発生しました．";
}

std::string format(const char* fmt, auto... args)
{
    char buf[512];
    std::snprintf(buf, sizeof buf, fmt, args...);
    return buf;
}

// Opens and scans the movie; prints the message and returns false on failure.
bool openAndScan(MovieReader& reader, const std::string& path, std::ostream& err, bool strict = false)
{
    reader.setStrict(strict);
    if (int st = reader.open(path)) {
        err << movieStatusMessage(st) << "\n";
        return false;
    }
    if (int st = reader.scanFrames()) {
        err << scanFailureMessage(st) << "\n";
        reader.close();
        return false;
    }
    return true;
}

int showInfo(const std::string& path, bool strict, std::ostream& out, std::ostream& err)
{
    MovieReader reader;
    if (!openAndScan(reader, path, err, strict))
        return 1;
    const MovieInfo& m = reader.info();
    out << format("Total frame\t%d\nWidth\t\t%d\nHeight\t\t%d\nFrame rate\t%d Frame/sec\n", m.totalFrames, int(m.width),
                  int(m.height), m.frameRate);
    const AudioTrackInfo& a = m.audio;
    if (a.firstSector < 0) {
        out << "Audio track\tnone\n";
    } else {
        out << format("Audio track\tfirst sector %d, stride %d, %d Hz, %s, file %d, channel %d\n", a.firstSector,
                      a.stride, a.sampleRate, a.channels == 2 ? "stereo" : "mono", a.fileNumber, a.channelNumber);
    }
    if (m.discFrameRate > 0)
        out << format("Disc timing\t%d sectors/sec, %d Frame/sec (used for auto)\n", m.discSpeed, m.discFrameRate);
    for (const std::string& note : movieNotes(m))
        err << note << "\n";
    return 0;
}

int exportFrames(const std::string& path, const std::string& dir, int gammaValue, std::ostream& out, std::ostream& err)
{
    MovieReader reader;
    if (!openAndScan(reader, path, err))
        return 1;
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        err << "Can't create folder " << dir << ": " << ec.message() << "\n";
        return 1;
    }
    const MovieInfo& m = reader.info();
    GammaTable gamma;
    gamma.build(gammaValue);
    FrameDecoder decoder;
    decoder.setGamma(gamma);
    for (const std::string& note : movieNotes(m))
        err << note << "\n";
    FrameSource frames(reader, decoder, m.totalFrames);

    int written = 0;
    for (int32_t i = 0; i < m.totalFrames; ++i) {
        const int st = frames.next(); // a damaged frame repeats the picture before it
        const PictureView picture = frames.picture();
        const std::string file = (std::filesystem::path(dir) / format("frame_%05d.png", i + 1)).string();
        if (!writePng(file, picture.pixels, m.width, m.height)) {
            err << "Can't write " << file << "\n";
            return 1;
        }
        ++written;
        if (st == kMovieEnd)
            break;
    }
    if (frames.damagedFrames() > 0)
        err << frames.damagedFrames() << " damaged frames skipped.\n";
    out << "Wrote " << written << " frames to " << dir << "\n";
    return 0;
}

bool parseGamma(std::string_view text, int& value)
{
    if (text.empty() || text.size() > 3)
        return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return value >= GammaTable::kMinValue && value <= GammaTable::kMaxValue;
}

int usageError(std::ostream& err, const std::string& why)
{
    err << "reelcast: " << why << "\n" << kUsage;
    return 2;
}

} // namespace

bool wantsGui(int argc, const char* const* argv)
{
    if (argc <= 1)
        return true;
    const std::string_view first = argv[1];
    // A movie file on its own opens the window with it, as a desktop program does.
    return first == "--config" || first == "--screenshots" || (!first.empty() && first[0] != '-');
}

int runCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err)
{
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        out << kUsage << "\n" << kConvertUsage;
        return 0;
    }
    if (args[0] == "--version") {
        out << "reelcast " << kVersionText << "\n";
        return 0;
    }
    if (args[0] == "--info") {
        const bool strict = args.size() == 3 && args[2] == "--strict";
        if (args.size() != 2 && !strict)
            return usageError(err, "--info takes one movie file (and --strict)");
        return showInfo(std::string(args[1]), strict, out, err);
    }
    if (args[0] == "--frames") {
        if (args.size() != 3 && args.size() != 5)
            return usageError(err, "--frames takes a movie file and a folder");
        int gammaValue = GammaTable::kDefaultValue;
        if (args.size() == 5) {
            if (args[3] != "--gamma")
                return usageError(err, "unknown option " + std::string(args[3]));
            if (!parseGamma(args[4], gammaValue))
                return usageError(err, "--gamma takes a number from 0 to 200");
        }
        return exportFrames(std::string(args[1]), std::string(args[2]), gammaValue, out, err);
    }
    if (args[0] == "--convert" || args[0] == "--codecs")
        return runConvertCli(args, out, err);
    return usageError(err, "unknown option " + std::string(args[0]));
}

} // namespace reelcast
