// Sample buffers on the memory-rendered mix: how WAV files are read, restarts, volume, the
// buffer limit, and sound off.
#include "sound/sample_sets.h"
#include "sound/sound_device.h"
#include "sound/wave_data.h"
#include "tests/game_fixtures.h"
#include "tests/sound_fixtures.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vortastr::test {
namespace {

std::vector<uint8_t> riff(const std::vector<uint8_t>& body)
{
    std::vector<uint8_t> file = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

std::vector<uint8_t> dataChunk(uint32_t length, std::size_t present, uint8_t value)
{
    std::vector<uint8_t> chunk = {
        'd', 'a', 't', 'a', uint8_t(length), uint8_t(length >> 8), uint8_t(length >> 16), uint8_t(length >> 24)};
    chunk.insert(chunk.end(), present, value);
    return chunk;
}

TEST(WaveData, FindsTheBytesTheWayTheSampleSetsReadThem)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        std::optional<std::size_t> length;
    };
    const std::vector<uint8_t> wave = riff(dataChunk(6, 6, 0x90));
    std::vector<uint8_t> notRiff = wave;
    notRiff[0] = 'X';
    const Case cases[] = {
        {"a plain file", wave, 6},
        {"not RIFF", notRiff, std::nullopt},
        {"no data chunk", riff({'f', 'm', 't', ' ', 1, 2, 3}), std::nullopt},
        {"length past the end is cut", riff(dataChunk(1000, 10, 0x90)), 10},
        {"the length itself is cut off", riff({'d', 'a', 't', 'a', 4, 0}), std::nullopt},
        {"an empty data chunk", riff(dataChunk(0, 0, 0)), 0},
        {"too short for RIFF", {'R', 'I'}, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto bytes = waveSampleBytes(c.file);
        ASSERT_EQ(bytes.has_value(), c.length.has_value()) << c.what;
        if (bytes) {
            EXPECT_EQ(bytes->size(), *c.length) << c.what;
        }
    }
}

TEST(WaveData, TheFirstDataFromTheStartWinsEvenInsideAnotherChunk)
{
    // "data" inside a LIST chunk's text is found before the real chunk.
    std::vector<uint8_t> body = {'L', 'I', 'S', 'T', 8, 0, 0, 0, 'd', 'a', 't', 'a', 2, 0, 0, 0};
    const auto real = dataChunk(4, 4, 0x80);
    body.insert(body.end(), real.begin(), real.end());
    const std::vector<uint8_t> file = riff(body);
    const auto bytes = waveSampleBytes(file);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), 2u);
    EXPECT_EQ(bytes->data(), file.data() + 28);
}

struct SoundDeviceTest : LoopbackSound {};

TEST_F(SoundDeviceTest, ASixteenBitStereoFileStillPlaysAsEightBitMonoAtTheSetRate)
{
    // A header that says 16-bit stereo at 44100 Hz; 2205 bytes of +0.5.
    std::vector<uint8_t> body = {'f',  'm',  't', ' ', 16,   0,    0, 0, 1, 0, 2,  0,
                                 0x44, 0xAC, 0,   0,   0x10, 0xB1, 2, 0, 4, 0, 16, 0};
    const auto data = dataChunk(2205, 2205, 0xC0);
    body.insert(body.end(), data.begin(), data.end());
    writeFile(folder.path() / "stereo.wav", riff(body));
    SampleBuffer* sample = loadWaveSample((folder.path() / "stereo.wav").string());
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->length, 2205u);
    setSampleFrequency(sample, 22050);
    playSample(sample, 0);
    // 2205 bytes at 22050 Hz last 0.1 s: 4410 frames of the 44100 Hz mix, all at the same level.
    const std::vector<int16_t> mix = render(6000);
    const std::size_t sounding = soundingFrames(mix);
    EXPECT_NEAR(double(sounding), 4410.0, 8.0);
    EXPECT_EQ(mix[2 * 1000], mix[2 * 4000]);
    EXPECT_GT(mix[2 * 1000], 8000);
    EXPECT_FALSE(samplePlaying(sample));
}

TEST_F(SoundDeviceTest, AFileWithoutDataOrAMissingFileGivesNoBuffer)
{
    writeFile(folder.path() / "nodata.wav", riff({'f', 'm', 't', ' ', 0, 0, 0, 0}));
    EXPECT_EQ(loadWaveSample((folder.path() / "nodata.wav").string()), nullptr);
    EXPECT_EQ(loadWaveSample((folder.path() / "missing.wav").string()), nullptr);
    EXPECT_EQ(soundDevice().sampleCount, 0);
}

TEST_F(SoundDeviceTest, PlayingASampleWhileItPlaysRestartsIt)
{
    SampleBuffer* sample = toneBuffer(44100);
    playSample(sample, 0);
    const std::vector<int16_t> once = render(4000);
    ASSERT_GT(samplePosition(sample), 1000u);
    playSample(sample, 0);
    EXPECT_EQ(samplePosition(sample), 0u);
    EXPECT_TRUE(samplePlaying(sample));
    // Only one copy sounds: the level stays that of a single play.
    const std::vector<int16_t> again = render(4000);
    EXPECT_EQ(peak(again), peak(once));
}

TEST_F(SoundDeviceTest, LoopingRepeatsUntilStopped)
{
    SampleBuffer* sample = toneBuffer(2205); // 0.1 s at 22050 Hz
    playSample(sample, 1);
    EXPECT_TRUE(sampleLooping(sample));
    const std::vector<int16_t> mix = render(44100);
    for (std::size_t at : {0, 2205, 22050, 43000})
        EXPECT_GT(tonePower(mix, at, 735, 1000.0), 0.05) << at;
    stopSample(sample);
    EXPECT_EQ(soundingFrames(render(1000)), 0u);
}

TEST_F(SoundDeviceTest, VolumeIsInHundredthsOfADecibel)
{
    SampleBuffer* sample = toneBuffer(44100);
    auto levelAt = [&](int32_t volume) {
        setSampleVolume(sample, volume);
        playSample(sample, 0);
        return double(peak(render(2000)));
    };
    const double full = levelAt(0);
    EXPECT_NEAR(levelAt(-2000) / full, 0.1, 0.01);
    EXPECT_NEAR(levelAt(-600) / full, 0.501, 0.02);
    EXPECT_EQ(levelAt(kSilentVolume), 0.0);
}

TEST_F(SoundDeviceTest, AtMost128BuffersExistAndReleasingFreesThem)
{
    for (std::size_t i = 0; i < kMaxSampleBuffers; ++i)
        ASSERT_NE(createSampleBuffer(16), nullptr) << i;
    EXPECT_EQ(createSampleBuffer(16), nullptr);
    EXPECT_EQ(createSampleBuffer(0), nullptr);
    releaseAllSamples();
    EXPECT_EQ(soundDevice().sampleCount, 0);
    EXPECT_NE(createSampleBuffer(16), nullptr);
}

TEST_F(SoundDeviceTest, ANewBufferPlaysAt22050HzUntilTold)
{
    SampleBuffer* sample = createSampleBuffer(441);
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->frequency, kDefaultSampleFrequency);
    const std::vector<uint8_t> bytes(441, 0xF0);
    fillSampleBuffer(sample, bytes.data(), bytes.size());
    playSample(sample, 0);
    EXPECT_NEAR(double(soundingFrames(render(2000))), 882.0, 4.0);
}

TEST(SoundOff, NoBufferIsCreatedAndEveryRequestIsIgnored)
{
    soundShutdown();
    TempFolder folder;
    std::string error;
    ASSERT_TRUE(testrom::writeTestSampleSet(folder.str(), error));
    romFiles().romPath = folder.str();
    EXPECT_EQ(createSampleBuffer(100), nullptr);
    EXPECT_EQ(loadWaveSample(hostPath(folder, "sound\\vorta_01.wav")), nullptr);
    loadGameSamples(VortaStrike);
    for (SampleBuffer* slot : sampleSets().vortaSamples)
        EXPECT_EQ(slot, nullptr);
    vortaCommand(1);
    vortaCommand(24);
    playSample(nullptr, 1);
    EXPECT_EQ(soundDevice().sampleCount, 0);
    int16_t out[4] = {1, 1, 1, 1};
    EXPECT_FALSE(renderLoopback(out, 2));
    romFiles().romPath = ".";
}

} // namespace
} // namespace vortastr::test
