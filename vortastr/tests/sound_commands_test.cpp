// The sample sets and their sound commands, on the generated sample set and a made-up voice
// ROM image.
#include "sound/rtype2_voices.h"
#include "tests/sound_fixtures.h"

#include <gtest/gtest.h>

#include <set>

namespace vortastr::test {
namespace {

template <std::size_t N>
std::set<std::size_t> playingSlots(const std::array<SampleBuffer*, N>& slots)
{
    std::set<std::size_t> playing;
    for (std::size_t i = 0; i < N; ++i)
        if (samplePlaying(slots[i]))
            playing.insert(i);
    return playing;
}

struct VortaCommands : LoopbackSound {
    void SetUp() override
    {
        LoopbackSound::SetUp();
        useTestSampleSet();
        loadGameSamples(VortaStrike);
    }
    std::array<SampleBuffer*, 40>& slots() { return sampleSets().vortaSamples; }
};

TEST_F(VortaCommands, EveryListedFileIsLoadedIntoItsSlotAt22050Hz)
{
    const std::set<std::size_t> filled = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 12, 13, 14, 15,
                                          16, 19, 21, 23, 24, 25, 29, 30, 31, 32, 33, 35, 36, 37, 39};
    for (std::size_t slot = 0; slot < 40; ++slot) {
        EXPECT_EQ(slots()[slot] != nullptr, filled.count(slot) == 1) << slot;
        if (slots()[slot]) {
            EXPECT_EQ(slots()[slot]->frequency, 22050);
            EXPECT_EQ(slots()[slot]->volume, 0);
        }
    }
    EXPECT_EQ(soundDevice().sampleCount, 30);
}

TEST_F(VortaCommands, EachCommandPlaysItsSlotOnceOrNothing)
{
    struct Case {
        uint8_t command;
        int slot; // -1: nothing plays
    };
    const Case cases[] = {{1, 0},    {11, 10},  {12, -1},  {13, 12},  {17, 16},  {18, -1},  {20, 19},
                          {21, -1},  {22, 21},  {76, 29},  {82, 30},  {83, 31},  {85, 32},  {87, 33},
                          {129, 35}, {130, 36}, {131, -1}, {132, -1}, {133, 39}, {255, -1}, {28, -1}};
    for (const Case& c : cases) {
        vortaCommand(0);
        vortaCommand(c.command);
        const auto playing = playingSlots(slots());
        if (c.slot < 0) {
            EXPECT_TRUE(playing.empty()) << int(c.command);
        } else {
            EXPECT_EQ(playing, std::set<std::size_t>{std::size_t(c.slot)}) << int(c.command);
            EXPECT_FALSE(sampleLooping(slots()[std::size_t(c.slot)])) << int(c.command);
        }
    }
}

TEST_F(VortaCommands, Command131DoesNothingAlthoughItsFileIsLoaded)
{
    ASSERT_NE(slots()[37], nullptr); // "vorta_52.wav"
    ASSERT_EQ(slots()[38], nullptr);
    vortaCommand(131);
    vortaCommand(132);
    EXPECT_TRUE(playingSlots(slots()).empty());
}

TEST_F(VortaCommands, ALoopCommandStopsTheOtherLoopsAndLoopsItsOwn)
{
    vortaCommand(24);
    EXPECT_EQ(playingSlots(slots()), std::set<std::size_t>{23});
    EXPECT_TRUE(sampleLooping(slots()[23]));
    vortaCommand(3); // a one-shot beside the loop
    vortaCommand(25);
    EXPECT_EQ(playingSlots(slots()), (std::set<std::size_t>{2, 24}));
    EXPECT_TRUE(sampleLooping(slots()[24]));
    vortaCommand(27);
    EXPECT_EQ(playingSlots(slots()), std::set<std::size_t>{2});
    vortaCommand(26);
    vortaCommand(0);
    EXPECT_TRUE(playingSlots(slots()).empty());
}

TEST_F(VortaCommands, TheBootlegUsesTheSameSetAndOtherGamesOnlyRelease)
{
    loadGameSamples(VortaStrikeBootleg);
    EXPECT_EQ(soundDevice().sampleCount, 30);
    soundCommand(VortaStrikeBootleg, 5);
    EXPECT_EQ(playingSlots(slots()), std::set<std::size_t>{4});
    soundCommand(Tutankham, 5); // not the running set: nothing loaded there
    loadGameSamples(Tank);
    EXPECT_EQ(soundDevice().sampleCount, 0);
    EXPECT_EQ(slots()[4], nullptr);
}

TEST_F(LoopbackSound, TutankhamCommandsPlayTheirSlots)
{
    useTestSampleSet();
    loadGameSamples(Tutankham);
    auto& slots = sampleSets().tutankhamSamples;
    for (SampleBuffer* slot : slots)
        ASSERT_NE(slot, nullptr);
    const std::pair<uint8_t, std::size_t> cases[] = {{1, 2}, {5, 0}, {9, 3}, {11, 4}, {74, 1}};
    for (const auto& [command, slot] : cases) {
        tutankhamCommand(0);
        soundCommand(Tutankham, command);
        EXPECT_EQ(playingSlots(slots), std::set<std::size_t>{slot}) << int(command);
    }
    tutankhamCommand(3);
    tutankhamCommand(0);
    EXPECT_TRUE(playingSlots(slots).empty());
    // The frequencies show which file went into which slot.
    playSample(slots[4], 0);
    const std::vector<int16_t> mix = render(2000);
    EXPECT_GT(tonePower(mix, 0, 1470, testrom::testSampleHertz("tut_maz2.wav")), 0.01);
    EXPECT_LT(tonePower(mix, 0, 1470, testrom::testSampleHertz("tut_key2.wav")), 0.001);
}

TEST(Rtype2Voices, CutsFromTheStartTableUpToTheFirstZero)
{
    // Without any zero the first sample runs to the end of the image and is the only one.
    const std::vector<VoiceCut> whole = cutVoiceSamples(std::vector<uint8_t>(kRtype2VoiceImageSize, 7));
    ASSERT_EQ(whole.size(), 1u);
    EXPECT_EQ(whole[0].length, kRtype2VoiceImageSize);

    // All zero: 29 empty samples, the 30th start lies past the image.
    const std::vector<VoiceCut> empty = cutVoiceSamples(std::vector<uint8_t>(kRtype2VoiceImageSize, 0));
    ASSERT_EQ(empty.size(), 29u);
    const std::pair<std::size_t, std::size_t> starts[] = {
        {0, 0}, {1, 32}, {2, (0xAD + 256 * 1) * 32}, {12, (0xEB + 256 * 0xD) * 32}, {28, (0x68 + 256 * 0xC) * 32}};
    for (const auto& [i, start] : starts) {
        EXPECT_EQ(empty[i].start, start) << i;
        EXPECT_EQ(empty[i].length, 0u) << i;
    }

    // Voice 5 of 10 bytes; a sample running into the end of the image ends the cutting.
    std::vector<uint8_t> image(kRtype2VoiceImageSize, 0);
    std::fill_n(image.begin() + empty[5].start, 10, 0x33);
    std::fill(image.begin() + std::ptrdiff_t(empty[12].start), image.end(), 0x44); // the highest start
    const std::vector<VoiceCut> cuts = cutVoiceSamples(image);
    ASSERT_EQ(cuts.size(), 13u);
    EXPECT_EQ(cuts[5].length, 10u);
    EXPECT_EQ(cuts[12].length, kRtype2VoiceImageSize - empty[12].start);

    // A short image reads as zeros past its end.
    EXPECT_EQ(cutVoiceSamples(std::vector<uint8_t>(100, 9)).size(), 1u);
}

struct Rtype2Commands : LoopbackSound {
    std::vector<std::string> titles;
    void SetUp() override
    {
        LoopbackSound::SetUp();
        // Voices 0 to 28 of (i + 8) bytes each; starts 0 and 1 overlap, so voice 0 ends at 31.
        const std::vector<VoiceCut> starts = cutVoiceSamples(std::vector<uint8_t>(kRtype2VoiceImageSize, 0));
        std::vector<uint8_t> image(kRtype2VoiceImageSize, 0);
        for (std::size_t i = starts.size(); i-- > 0;)
            std::fill_n(image.begin() + std::ptrdiff_t(starts[i].start), i == 0 ? 31 : i + 8, uint8_t(0x80 + i));
        writeFile(romFile(folder, "rtype2\\rt2_vo.bin"), image);
        writeFile(romFile(folder, "sound\\RTIIA_06.wav"), testrom::toneWave(1200, 0.2)); // entry 5
        writeFile(romFile(folder, "sound\\RTIIA_21.wav"), testrom::toneWave(2400, 0.2)); // entry 20
        writeFile(romFile(folder, "sound\\RTIIA_45.wav"), testrom::toneWave(3000, 0.2)); // entry 44
        writeFile(romFile(folder, "sound\\rtiid_47.wav"), testrom::toneWave(3600, 0.2)); // entry 187, lower case
        writeFile(romFile(folder, "sound\\RTIIB_26.wav"), testrom::toneWave(4200, 0.2)); // entry 72, replaced
        romFiles().romPath = folder.str();
        sampleSets().showTitle = [this](const char* name) { titles.push_back(name ? name : "(game)"); };
        loadGameSamples(RType2);
    }
    SampleSets& sets() { return sampleSets(); }
};

TEST_F(Rtype2Commands, LoadsVoicesAndFilesAndShowsEachNameWhileLoading)
{
    for (std::size_t i = 0; i < 29; ++i) {
        ASSERT_NE(sets().rtype2Voices[i], nullptr) << i;
        EXPECT_EQ(sets().rtype2Voices[i]->length, i == 0 ? 31u : i + 8) << i;
        EXPECT_EQ(sets().rtype2Voices[i]->frequency, 8000);
        EXPECT_EQ(sets().rtype2Voices[i]->volume, -400);
    }
    EXPECT_EQ(sets().rtype2Voices[29], nullptr);
    EXPECT_NE(sets().rtype2Samples[5], nullptr);
    EXPECT_NE(sets().rtype2Samples[187], nullptr); // found without regard to case
    EXPECT_EQ(sets().rtype2Samples[6], nullptr);
    for (std::size_t k = 0; k < 10; ++k)
        EXPECT_EQ(sets().rtype2Samples[71 + k], sets().rtype2Voices[1 + k]) << k;
    ASSERT_EQ(titles.size(), 189u);
    EXPECT_EQ(titles.front(), "sound\\RTIIA_01.wav");
    EXPECT_EQ(titles[47], "sound\\RTIIB_01.wav");
    EXPECT_EQ(titles[187], "sound\\RTIID_47.wav");
    EXPECT_EQ(titles.back(), "(game)");
    EXPECT_EQ(soundDevice().sampleCount, 29 + 5);
}

TEST_F(Rtype2Commands, Command75PlaysVoiceFiveAt8000Hz)
{
    soundCommand(RType2, 75);
    SampleBuffer* voice = sets().rtype2Voices[5];
    EXPECT_EQ(sets().rtype2VoiceChannel, voice);
    EXPECT_TRUE(samplePlaying(voice));
    // 13 bytes at 8000 Hz: 13 x 44100 / 8000 = 71.7 frames of the mix.
    EXPECT_NEAR(double(soundingFrames(render(400))), 71.7, 3.0);
}

TEST_F(Rtype2Commands, ControlCodesIgnoreBitSevenAndStopTheirChannels)
{
    rtype2Command(75);
    rtype2Command(5);
    rtype2Command(0xA0); // 32 with bit 7: the voice channel
    EXPECT_FALSE(samplePlaying(sets().rtype2Voices[5]));
    EXPECT_EQ(sets().rtype2VoiceChannel, nullptr);
    EXPECT_TRUE(samplePlaying(sets().rtype2Samples[5]));
    rtype2Command(35);
    EXPECT_FALSE(samplePlaying(sets().rtype2Samples[5]));
    EXPECT_EQ(sets().rtype2EffectChannel, nullptr);
    rtype2Command(44);
    EXPECT_TRUE(samplePlaying(sets().rtype2Samples[44]));
    rtype2Command(0xA5); // 37: entries 44 and 45
    EXPECT_FALSE(samplePlaying(sets().rtype2Samples[44]));
}

TEST_F(Rtype2Commands, Command0xC0LooksUpEntry192WhichIsEmpty)
{
    rtype2Command(5);
    rtype2Command(0xC0);
    EXPECT_TRUE(samplePlaying(sets().rtype2Samples[5]));
    EXPECT_EQ(sets().rtype2EffectChannel, sets().rtype2Samples[5]);
    rtype2Command(6); // an empty entry changes no channel either
    EXPECT_EQ(sets().rtype2EffectChannel, sets().rtype2Samples[5]);
}

TEST_F(Rtype2Commands, EffectsFrom16OnDoNotStopTheEffectChannel)
{
    rtype2Command(5);
    rtype2Command(20);
    EXPECT_TRUE(samplePlaying(sets().rtype2Samples[5]));
    EXPECT_TRUE(samplePlaying(sets().rtype2Samples[20]));
    EXPECT_EQ(sets().rtype2EffectChannel, sets().rtype2Samples[5]);
    const std::vector<int16_t> mix = render(1470);
    EXPECT_GT(tonePower(mix, 0, 1470, 1200), 0.005);
    EXPECT_GT(tonePower(mix, 0, 1470, 2400), 0.005);
}

TEST_F(Rtype2Commands, OnlyTheRunningGameReactsAndAGameChangeForgetsTheChannels)
{
    soundCommand(VortaStrike, 5); // the Vorta set is not loaded: nothing
    EXPECT_FALSE(samplePlaying(sets().rtype2Samples[5]));
    rtype2Command(75);
    loadGameSamples(VortaStrike);
    EXPECT_EQ(sets().rtype2VoiceChannel, nullptr);
    loadGameSamples(RType2);
    rtype2Command(76); // stops the (forgotten) voice channel without touching a released buffer
    EXPECT_TRUE(samplePlaying(sets().rtype2Voices[6]));
}

TEST_F(LoopbackSound, WithoutTheVoiceImageRtype2LoadsNothing)
{
    writeFile(romFile(folder, "sound\\RTIIA_06.wav"), testrom::toneWave(1200, 0.2));
    romFiles().romPath = folder.str();
    loadGameSamples(RType2);
    EXPECT_EQ(soundDevice().sampleCount, 0);
    rtype2Command(5);
}

} // namespace
} // namespace vortastr::test
