#include "tests/sound_fixtures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vortastr::test {

std::string hostPath(const TempFolder& folder, const std::string& name) { return romFile(folder, name).string(); }

std::size_t soundingFrames(const std::vector<int16_t>& mix)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < mix.size(); i += 2)
        count += std::abs(mix[i]) > 64 ? 1 : 0;
    return count;
}

int16_t peak(const std::vector<int16_t>& mix)
{
    int16_t top = 0;
    for (int16_t v : mix)
        top = std::max<int16_t>(top, int16_t(std::min(32767, std::abs(int(v)))));
    return top;
}

double tonePower(const std::vector<int16_t>& mix, std::size_t first, std::size_t count, double hertz)
{
    const double w = 2.0 * std::numbers::pi * hertz / kOutputRate;
    const double coefficient = 2.0 * std::cos(w);
    double s1 = 0, s2 = 0;
    for (std::size_t i = first; i < first + count && 2 * i < mix.size(); ++i) {
        const double s0 = mix[2 * i] / 32768.0 + coefficient * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
    return power / (double(count) * double(count));
}

void LoopbackSound::SetUp()
{
    forgetSampleSlots();
    ASSERT_TRUE(soundInit(SoundOutput::Loopback));
}

void LoopbackSound::TearDown()
{
    soundShutdown();
    forgetSampleSlots();
    romFiles().romPath = ".";
    sampleSets().showTitle = nullptr;
}

std::vector<int16_t> LoopbackSound::render(std::size_t frames)
{
    std::vector<int16_t> mix(2 * frames, 0);
    EXPECT_TRUE(renderLoopback(mix.data(), frames));
    return mix;
}

SampleBuffer* LoopbackSound::toneBuffer(std::size_t length)
{
    std::vector<uint8_t> bytes(length);
    for (std::size_t i = 0; i < length; ++i)
        bytes[i] = uint8_t(std::lround(128 + 100 * std::sin(2 * std::numbers::pi * 1000.0 * double(i) / 22050.0)));
    SampleBuffer* sample = createSampleBuffer(length);
    EXPECT_NE(sample, nullptr);
    fillSampleBuffer(sample, bytes.data(), bytes.size());
    return sample;
}

void LoopbackSound::useTestSampleSet()
{
    std::string error;
    ASSERT_TRUE(testrom::writeTestSampleSet(folder.str(), error)) << error;
    romFiles().romPath = folder.str();
}

} // namespace vortastr::test
