#pragma once
// The converter's stored settings: their value names, defaults and ranges. The window reads them at
// start-up, writes them back at once, and writes them again when it closes.

#include <cstdint>
#include <vector>

#include "core/compression_options.h"

namespace reelcast {

struct ConverterSettings {
    int convDisplay = 0;          // "ConvDisplay": 0 show the frames during a job, 1 do not
    int convSize = 1;             // "ConvSize": 0 half, 1 as decoded, 2 double
    int convSpeed = 1;            // "ConvSpeed": 0 fast, 1 normal, 2 slow
    int frameRate = 0;            // "FrameRate": index into Auto, 30, 24, 20, 15, 12, 10
    int ask = 0;                  // "Ask": 1 shows the video size dialog before every job
    int gammaVal = 100;           // "Gammaval": 0 to 200
    CompressionOptions aviOption; // "AVIOption"

    struct DwordValue {
        const char* name;
        int ConverterSettings::*field;
        int defaultValue;
        int lo, hi;
    };
    static constexpr DwordValue kDwordValues[] = {
        {"ConvDisplay", &ConverterSettings::convDisplay, 0, 0, 1},
        {"ConvSize", &ConverterSettings::convSize, 1, 0, 2},
        {"ConvSpeed", &ConverterSettings::convSpeed, 1, 0, 2},
        {"FrameRate", &ConverterSettings::frameRate, 0, 0, 6},
        {"Ask", &ConverterSettings::ask, 0, 0, 1},
        {"Gammaval", &ConverterSettings::gammaVal, 100, 0, 200},
    };
    static constexpr const char* kAviOptionName = "AVIOption";

    // A stored value outside its range counts as unreadable: the default takes its place.
    static int sanitise(const DwordValue& v, bool readable, long long stored)
    {
        return readable && stored >= v.lo && stored <= v.hi ? int(stored) : v.defaultValue;
    }
};

} // namespace reelcast
