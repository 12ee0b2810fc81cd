#include "shell/command_line.h"

#include "shell/input.h"

#include <charconv>
#include <cstring>

namespace vortastr {
namespace {

bool parseInt(const std::string& text, int& out)
{
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end;
}

} // namespace

std::string usageText()
{
    return "Usage: vortastr [CODE] [-cheat] [-fullscreen | -window] [options]\n"
           "\n"
           "CODE is the two-letter code of the game to start (for example JN, TK, r1);\n"
           "without one \"Vorta Strike\" starts.\n"
           "\n"
           "  -cheat            cheat mode for the boards that have one\n"
           "  -fullscreen       start in full screen (stored as the setting)\n"
           "  -window           start in a window (wins over -fullscreen)\n"
           "  --headless        no window; messages go to standard error\n"
           "  --frames N        leave through the normal exit after N frames\n"
           "  --snapshot FILE   write the last presented screen as a PNG at the end\n"
           "  --rompath DIR     folder holding the game folders (default: the working folder)\n"
           "  --config FILE     settings file to use instead of the per-user one\n"
           "  --depth 8|16      bits per pixel of the windowed screen (default 16)\n"
           "  --input SCRIPT    scripted keys by frame, e.g. 60:Right,90:Right+Ctrl,120:-\n"
           "  --unpaced         do not wait for the frame rate\n"
           "  --audit [CODE...] check the ROM sets (all, or the games named) and list\n"
           "                    each file as found, missing or of the wrong size;\n"
           "                    exit status 1 when a set is not complete\n"
           "  --json            with --audit: the same as JSON\n"
           "  --wav FILE        record the sound of the run (44100 Hz, 16-bit stereo WAV)\n"
           "  --load-state FILE load a saved state before the first frame\n"
           "  --save-state FILE save the state after the last frame\n"
           "  --help            show this text\n"
           "  --version         show the version\n";
}

ParseResult parseCommandLine(std::span<const std::string> args)
{
    ParseResult result;
    LaunchOptions& o = result.options;
    auto fail = [&](const std::string& message) {
        result.status = ParseStatus::UsageError;
        result.error = message;
        return result;
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (arg.rfind("--", 0) != 0 || arg == "--") {
            if (!o.gameLine.empty())
                o.gameLine += ' ';
            o.gameLine += arg;
            continue;
        }
        std::optional<std::string> inlineValue;
        if (const auto eq = arg.find('='); eq != std::string::npos) {
            inlineValue = arg.substr(eq + 1);
            arg.resize(eq);
        }
        const bool takesValue = arg == "--frames" || arg == "--snapshot" || arg == "--rompath" || arg == "--config" ||
                                arg == "--depth" || arg == "--screenshots" || arg == "--input" || arg == "--wav" ||
                                arg == "--save-state" || arg == "--load-state";
        std::string value;
        if (takesValue) {
            if (inlineValue) {
                value = *inlineValue;
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                return fail(arg + " needs a value");
            }
            if (value.empty())
                return fail(arg + " needs a value");
        } else if (inlineValue) {
            return fail(arg + " takes no value");
        }

        if (arg == "--help") {
            result.status = ParseStatus::Help;
        } else if (arg == "--version") {
            if (result.status != ParseStatus::Help)
                result.status = ParseStatus::Version;
        } else if (arg == "--headless") {
            o.headless = true;
        } else if (arg == "--frames") {
            if (!parseInt(value, o.frames) || o.frames < 1)
                return fail("--frames needs a whole number of at least 1, not \"" + value + "\"");
        } else if (arg == "--snapshot") {
            o.snapshotPath = value;
        } else if (arg == "--rompath") {
            o.romPath = value;
        } else if (arg == "--config") {
            o.configPath = value;
        } else if (arg == "--depth") {
            if (!parseInt(value, o.depth) || (o.depth != 8 && o.depth != 16))
                return fail("--depth must be 8 or 16, not \"" + value + "\"");
        } else if (arg == "--input") {
            std::string error;
            parseInputScript(value, error);
            if (!error.empty())
                return fail("--input: " + error);
            o.inputScript = value;
        } else if (arg == "--unpaced") {
            o.unpaced = true;
        } else if (arg == "--wav") {
            o.wavPath = value;
        } else if (arg == "--save-state") {
            o.saveStatePath = value;
        } else if (arg == "--load-state") {
            o.loadStatePath = value;
        } else if (arg == "--screenshots") {
            o.screenshotDir = value;
        } else {
            return fail("unknown option " + arg);
        }
    }
    if (!o.screenshotDir.empty() && o.headless)
        return fail("--screenshots needs the window; leave out --headless");
    return result;
}

GameLineChoice parseGameLine(const std::string& line)
{
    GameLineChoice choice;
    for (const GameInfo& info : gameCatalogue())
        if (info.code && line.size() >= 2 && std::strncmp(line.c_str(), info.code, 2) == 0)
            choice.game = info.id;
    if (line.find("-cheat") != std::string::npos)
        choice.cheat = true;
    if (line.find("-fullscreen") != std::string::npos)
        choice.fullScreen = 1;
    if (line.find("-window") != std::string::npos)
        choice.fullScreen = 0;
    return choice;
}

} // namespace vortastr
