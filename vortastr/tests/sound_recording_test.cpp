// Recordings of the mix: frame-exact sample counts, the WAV file, and whole headless runs of
// the "Vorta Strike" test program with its scripted sound commands.
#include "boards/konami_bitmap/testrom/vorta_test_set.h"
#include "shell/command_line.h"
#include "sound/sound_session.h"
#include "sound/wav_recorder.h"
#include "tests/sound_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>

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

TEST(WavOption, TakesAFileAndIsListedInTheHelp)
{
    const std::vector<std::string> args = {"JN", "--wav", "out.wav", "--headless"};
    const ParseResult parsed = parseCommandLine(args);
    EXPECT_EQ(parsed.status, ParseStatus::Run);
    EXPECT_EQ(parsed.options.wavPath, "out.wav");
    EXPECT_EQ(parseCommandLine(std::vector<std::string>{"--wav=x.wav"}).options.wavPath, "x.wav");
    EXPECT_EQ(parseCommandLine(std::vector<std::string>{"--wav"}).status, ParseStatus::UsageError);
    EXPECT_EQ(parseCommandLine(std::vector<std::string>{"--wav="}).status, ParseStatus::UsageError);
    EXPECT_NE(usageText().find("--wav FILE"), std::string::npos);
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
    auto u32 = [&](std::size_t at) {
        return uint32_t(file[at]) | uint32_t(file[at + 1]) << 8 | uint32_t(file[at + 2]) << 16 |
               uint32_t(file[at + 3]) << 24;
    };
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
    // A device or folder at the target is never replaced.
    EXPECT_FALSE(recorder.open("/dev/null", error));
    EXPECT_FALSE(recorder.open(folder.str(), error));
    EXPECT_TRUE(std::filesystem::is_directory(folder.path()));
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

// Whole runs of the program: `vortastr JN --headless --unpaced --rompath <test ROMs> --frames N
// --wav FILE` with the generated test ROM and sample sets.
struct HeadlessRecording : ::testing::Test {
    TempFolder folder;
    static constexpr int kFrames = 300;
    static constexpr std::size_t kFrameSamples = 735; // 44100 / 60
    static constexpr int kFramesPerUpdate = 2;        // the board interrupts every second frame

    std::vector<uint8_t> record(const std::string& name, const std::string& configLine = "")
    {
        const auto config = folder.path() / (name + ".ini");
        if (!configLine.empty())
            std::ofstream(config) << configLine;
        const auto wav = folder.path() / (name + ".wav");
        const std::string command = std::string("\"") + VORTASTR_BINARY + "\" JN --headless --unpaced --rompath \"" +
                                    VORTASTR_TESTROM_DIR + "\" --frames " + std::to_string(kFrames) + " --config \"" +
                                    config.string() + "\" --wav \"" + wav.string() + "\"";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return readAll(wav);
    }
};

// What should sound in each frame of the recording, from the program's script: the command of
// update 16 x k is written in frame 32 x k and sounds from the next frame of the mix on.
std::vector<std::set<int>> expectedTones(int frames)
{
    struct Playing {
        int hertz, until; // until: first frame no longer sounding
        bool looping;
    };
    std::vector<Playing> playing;
    std::vector<std::set<int>> expected(static_cast<std::size_t>(frames));
    const int oneShotFrames = int(std::lround(testrom::kOneShotSeconds * 60));
    const int stepFrames = HeadlessRecording::kFramesPerUpdate * testrom::kSoundStepUpdates;
    for (int frame = 1; frame < frames; ++frame) {
        const int written = frame - 1; // the frame whose command sounds from this one on
        if (written > 0 && written % stepFrames == 0) {
            const uint8_t command = testrom::kSoundScript[std::size_t(written / stepFrames) % 8];
            auto stopLoops = [&] { std::erase_if(playing, [](const Playing& p) { return p.looping; }); };
            char file[16];
            if (command == 0) {
                playing.clear();
            } else if (command >= 24 && command <= 26) {
                stopLoops();
                std::snprintf(file, sizeof file, "vorta_%02dl.wav", command);
                playing.push_back({testrom::testSampleHertz(file), INT32_MAX, true});
            } else if (command == 27) {
                stopLoops();
            } else {
                std::snprintf(file, sizeof file, "vorta_%02d.wav", command);
                playing.push_back({testrom::testSampleHertz(file), frame + oneShotFrames, false});
            }
        }
        std::erase_if(playing, [&](const Playing& p) { return p.until <= frame; });
        for (const Playing& p : playing)
            expected[std::size_t(frame)].insert(p.hertz);
    }
    return expected;
}

TEST_F(HeadlessRecording, EachScriptedCommandSoundsAtItsFrameAndTheSameRunGivesTheSameBytes)
{
    const std::vector<uint8_t> first = record("first");
    ASSERT_EQ(first.size(), 44 + kFrames * kFrameSamples * 4);
    EXPECT_EQ(record("second"), first);

    std::vector<int16_t> mix((first.size() - 44) / 2);
    std::memcpy(mix.data(), first.data() + 44, mix.size() * 2);
    const std::vector<std::set<int>> expected = expectedTones(kFrames);
    std::set<int> tones;
    for (const testrom::TestSample& sample : testrom::testSamples())
        tones.insert(sample.hertz);
    int checked = 0;
    for (int frame = 1; frame + 1 < kFrames; ++frame) {
        const auto& here = expected[std::size_t(frame)];
        // Within one frame of a change either state is right.
        if (here != expected[std::size_t(frame - 1)] || here != expected[std::size_t(frame + 1)])
            continue;
        for (int hertz : tones) {
            const double power = tonePower(mix, std::size_t(frame) * kFrameSamples, kFrameSamples, hertz);
            if (here.count(hertz))
                EXPECT_GT(power, 0.01) << "frame " << frame << ", " << hertz << " Hz should sound";
            else
                EXPECT_LT(power, 0.001) << "frame " << frame << ", " << hertz << " Hz should be silent";
        }
        ++checked;
    }
    EXPECT_GT(checked, 250);
}

TEST_F(HeadlessRecording, WithSoundOffInTheSettingsTheRecordingIsSilent)
{
    const std::vector<uint8_t> quiet = record("quiet", "[Vorta%20Strike%20Emulator]\nSound=0\n");
    ASSERT_EQ(quiet.size(), 44 + kFrames * kFrameSamples * 4);
    EXPECT_TRUE(std::all_of(quiet.begin() + 44, quiet.end(), [](uint8_t b) { return b == 0; }));
}

} // namespace
} // namespace vortastr::test
