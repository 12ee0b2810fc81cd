// Recordings of the mix: frame-exact sample counts, the WAV file, and whole headless runs of
// the "Vorta Strike" test program with its scripted sound commands.
#include "sound/sound_session.h"
#include "sound/wav_recorder.h"
#include "tests/sound_fixtures.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace vortastr::test {
namespace {

std::vector<uint8_t> readAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SoundFrames, EveryFrameRateSharesExactly44100SamplesASecond)
{
    for (int32_t fps : {60, 55, 57, 30}) {
        std::size_t total = 0, smallest = SIZE_MAX, largest = 0;
        for (int64_t frame = 0; frame < fps; ++frame) {
            const std::size_t n = samplesForFrame(frame, fps);
            total += n;
            smallest = std::min(smallest, n);
            largest = std::max(largest, n);
        }
        EXPECT_EQ(total, 44100u) << fps;
        EXPECT_LE(largest - smallest, 1u) << fps;
    }
    EXPECT_EQ(samplesForFrame(0, 60), 735u);
    EXPECT_EQ(samplesForFrame(5, 0), 0u);
}

TEST(WavRecorderTest, WritesA16BitStereoFileThroughATemporaryName)
{
    TempFolder folder;
    const auto path = folder.path() / "out.wav";
    WavRecorder recorder;
    std::string error;
    ASSERT_TRUE(recorder.open(path.string(), error)) << error;
    EXPECT_FALSE(std::filesystem::exists(path));
    const int16_t samples[] = {1, -1, 0x1234, -0x1234};
    recorder.append(samples, 2);
    ASSERT_TRUE(recorder.finish(error)) << error;
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "out.wav.tmp"));
    const std::vector<uint8_t> file = readAll(path);
    ASSERT_EQ(file.size(), 52u);
    auto u32 = [&](std::size_t at) { return uint32_t(file[at]) | uint32_t(file[at + 1]) << 8 | uint32_t(file[at + 2]) << 16 | uint32_t(file[at + 3]) << 24; };
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF");
    EXPECT_EQ(u32(4), 44u);
    EXPECT_EQ(u32(24), 44100u);
    EXPECT_EQ(u32(28), 44100u * 4);
    EXPECT_EQ(file[22], 2);
    EXPECT_EQ(file[34], 16);
    EXPECT_EQ(u32(40), 8u);
    EXPECT_EQ(file[48], 0x34);
    EXPECT_EQ(file[51], 0xED);
}

TEST(WavRecorderTest, AFolderThatDoesNotExistIsReported)
{
    TempFolder folder;
    WavRecorder recorder;
    std::string error;
    EXPECT_FALSE(recorder.open((folder.path() / "no" / "out.wav").string(), error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(recorder.finish(error));
}

TEST(SoundSessionTest, WithSoundOffTheRecordingIsSilenceOfTheRunsLength)
{
    TempFolder folder;
    const auto path = folder.path() / "quiet.wav";
    std::string error;
    ASSERT_TRUE(startSound({false, true, path.string()}, error)) << error;
    EXPECT_FALSE(soundAvailable());
    for (int i = 0; i < 10; ++i)
        soundFrameDone(55);
    ASSERT_TRUE(stopSound(error)) << error;
    const std::vector<uint8_t> file = readAll(path);
    const std::size_t expected = 44 + 4 * (44100 * 10 / 55);
    ASSERT_EQ(file.size(), expected);
    EXPECT_TRUE(std::all_of(file.begin() + 44, file.end(), [](uint8_t b) { return b == 0; }));
}

} // namespace
} // namespace vortastr::test
