#include "sound/test_sample_set.h"

#include "testrom/rom_packing.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <numbers>

namespace vortastr::testrom {
namespace {

constexpr TestSample kSamples[] = {
    {"vorta_01.wav", 480, false},  {"vorta_02.wav", 660, false},  {"vorta_03.wav", 840, false},
    {"vorta_04.wav", 1020, false}, {"vorta_05.wav", 1200, false}, {"vorta_06.wav", 1380, false},
    {"vorta_07.wav", 1560, false}, {"vorta_08.wav", 1740, false}, {"vorta_09.wav", 1920, false},
    {"vorta_10.wav", 2100, false}, {"vorta_11.wav", 2280, false}, {"vorta_13.wav", 2460, false},
    {"vorta_14.wav", 2640, false}, {"vorta_15.wav", 2820, false}, {"vorta_16.wav", 3000, false},
    {"vorta_17.wav", 3180, false}, {"vorta_20.wav", 3360, false}, {"vorta_22.wav", 3540, false},
    {"vorta_24l.wav", 3720, true}, {"vorta_25l.wav", 3900, true}, {"vorta_26l.wav", 4080, true},
    {"vorta_38.wav", 4260, false}, {"vorta_44.wav", 4440, false}, {"vorta_45.wav", 4620, false},
    {"vorta_47.wav", 4800, false}, {"vorta_49.wav", 4980, false}, {"vorta_50.wav", 5160, false},
    {"vorta_51.wav", 5340, false}, {"vorta_52.wav", 5520, false}, {"vorta_54.wav", 5700, false},
    {"tut_crd2.wav", 5880, false}, {"tut_mon2.wav", 6060, false}, {"tut_maz2.wav", 6240, false},
    {"tut_key2.wav", 6420, false}, {"tut_sht2.wav", 6600, false},
};

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

void put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

} // namespace

std::span<const TestSample> testSamples() { return kSamples; }

int testSampleHertz(const std::string& file)
{
    for (const TestSample& sample : kSamples)
        if (file == sample.file)
            return sample.hertz;
    return 0;
}

std::vector<uint8_t> toneWave(int hertz, double seconds)
{
    const auto count = uint32_t(std::lround(seconds * kTestSampleRate));
    std::vector<uint8_t> out;
    out.reserve(44 + count);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put32(out, 36 + count);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(out, 16);
    put16(out, 1);
    put16(out, 1);
    put32(out, kTestSampleRate);
    put32(out, kTestSampleRate);
    put16(out, 1);
    put16(out, 8);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put32(out, count);
    for (uint32_t i = 0; i < count; ++i) {
        const double phase = 2.0 * std::numbers::pi * hertz * double(i) / kTestSampleRate;
        out.push_back(uint8_t(std::lround(128.0 + 100.0 * std::sin(phase))));
    }
    return out;
}

bool writeTestSampleSet(const std::string& folder, std::string& error)
{
    RomFiles files;
    for (const TestSample& sample : kSamples)
        files[sample.file] = toneWave(sample.hertz, sample.looping ? kLoopSeconds : kOneShotSeconds);
    return writeRomFiles(folder, "sound", files, error);
}

} // namespace vortastr::testrom
