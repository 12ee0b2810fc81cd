#pragma once
// Sound tests run on the memory-rendered mix: a loopback device opened per test, the
// generated sample set in a temporary folder, and measurements of the rendered mix.
#include "boards/rom_files.h"
#include "sound/sample_sets.h"
#include "sound/sound_device.h"
#include "sound/test_sample_set.h"
#include "tests/game_fixtures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vortastr::test {

// A sample name ("sound\vorta_01.wav") below the folder, in the host's form.
std::string hostPath(const TempFolder& folder, const std::string& name);

// Frames of the mix whose left channel is audible.
std::size_t soundingFrames(const std::vector<int16_t>& mix);
int16_t peak(const std::vector<int16_t>& mix);
// Goertzel power of a frequency over frames [first, first + count) of the left channel,
// normalised so that a full-scale sine gives about 0.25.
double tonePower(const std::vector<int16_t>& mix, std::size_t first, std::size_t count, double hertz);

struct LoopbackSound : ::testing::Test {
    TempFolder folder;
    void SetUp() override;
    void TearDown() override;
    std::vector<int16_t> render(std::size_t frames);
    // A filled buffer holding a 1 kHz sine of `length` bytes.
    SampleBuffer* toneBuffer(std::size_t length);
    // The generated sample set in the folder, found through the sample sets' lookup.
    void useTestSampleSet();
};

} // namespace vortastr::test
