#pragma once
// Command-line conversion: `--convert FILE [options]` writes the AVI without a window, and
// `--codecs` lists the compressors.

#include <ostream>
#include <string_view>
#include <vector>

namespace reelcast {

// args holds every argument after the program name; returns the exit status.
int runConvertCli(const std::vector<std::string_view>& args, std::ostream& out, std::ostream& err);

inline constexpr const char* kConvertUsage =
    "       reelcast --convert FILE [-o OUT.avi] [--fps auto|30|24|20|15|12|10] [--size WxH]\n"
    "                [--method 1|2] [--codec NAME] [--gamma N] [--strict] [--null]\n"
    "       reelcast --codecs\n"
    "       reelcast [--config FILE] [MOVIE]   (no command: the window, opening MOVIE if given)\n";

} // namespace reelcast
