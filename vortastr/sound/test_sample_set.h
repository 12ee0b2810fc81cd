#pragma once
// A free sample set for tests and demos, written beside the test ROMs: for every file name of
// the "Vorta Strike" and Tutankham sets a short sine tone of its own frequency (8-bit unsigned
// mono at 22050 Hz), so that a recording shows which sample sounded and when.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vortastr::testrom {

struct TestSample {
    const char* file; // inside the "sound" folder
    int hertz;        // a multiple of 60, so a 60 Hz frame holds whole periods
    bool looping;     // the tone is long and ends on a whole period
};

constexpr int kTestSampleRate = 22050;
constexpr double kOneShotSeconds = 0.2;
constexpr double kLoopSeconds = 0.5;

std::span<const TestSample> testSamples();
// The frequency of a file of the set; 0 when it has none.
int testSampleHertz(const std::string& file);

// The bytes of one WAV file: "RIFF", a format chunk, and the tone in its "data" chunk.
std::vector<uint8_t> toneWave(int hertz, double seconds);

// Writes the set into folder/sound; false with a reason when a file cannot be written.
bool writeTestSampleSet(const std::string& folder, std::string& error);

} // namespace vortastr::testrom
