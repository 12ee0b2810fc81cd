// The RType II sample set: voices cut from the voice ROM image, effects and music from WAV
// files, played on two channels (effects and voices).
#include "boards/rom_files.h"
#include "sound/rtype2_voices.h"
#include "sound/sample_sets.h"

#include <cstdio>
#include <fstream>
#include <vector>

namespace vortastr {
namespace {

constexpr int32_t kVoiceFrequency = 8000;
constexpr int32_t kVoiceVolume = -400;
constexpr std::size_t kFirstVoiceCommand = 71, kLastVoiceCommand = 80;
constexpr int kWaveNumbers = 47; // per letter A to D

void stopChannel(SampleBuffer*& channel)
{
    stopSample(channel);
    channel = nullptr;
}

} // namespace

void loadRtype2Samples()
{
    SampleSets& sets = sampleSets();
    releaseAllSamples();
    sets.rtype2Voices = {};
    sets.rtype2Samples = {};
    auto voiceRom = readRomBytes("rtype2\\rt2_vo.bin", kRtype2VoiceImageSize);
    if (!voiceRom)
        return;
    // A short image reads as zero bytes past its end.
    std::vector<uint8_t> image = std::move(*voiceRom);
    image.resize(kRtype2VoiceImageSize, 0);

    const std::vector<VoiceCut> cuts = cutVoiceSamples(image);
    for (std::size_t i = 0; i < cuts.size(); ++i) {
        SampleBuffer* voice = createSampleBuffer(cuts[i].length);
        fillSampleBuffer(voice, image.data() + cuts[i].start, cuts[i].length);
        setSampleFrequency(voice, kVoiceFrequency);
        setSampleVolume(voice, kVoiceVolume);
        sets.rtype2Voices[i] = voice;
    }

    char name[32];
    for (int l = 0; l < 4; ++l)
        for (int n = 1; n <= kWaveNumbers; ++n) {
            std::snprintf(name, sizeof name, "sound\\RTII%c_%02d.wav", 'A' + l, n);
            if (sets.showTitle)
                sets.showTitle(name);
            const auto wave = readRomBytes(name);
            sets.rtype2Samples[std::size_t(l * kWaveNumbers + n - 1)] = wave ? loadWaveSample(*wave) : nullptr;
        }
    if (sets.showTitle)
        sets.showTitle(nullptr);
    for (std::size_t k = 0; k < 10; ++k)
        sets.rtype2Samples[kFirstVoiceCommand + k] = sets.rtype2Voices[1 + k];
}

void rtype2Command(uint8_t command)
{
    SampleSets& sets = sampleSets();
    switch (command & 0x7F) {
    case 32: stopChannel(sets.rtype2VoiceChannel); return;
    case 35: stopChannel(sets.rtype2EffectChannel); return;
    case 36:
    case 37:
        stopSample(sets.rtype2Samples[44]);
        stopSample(sets.rtype2Samples[45]);
        return;
    default: break;
    }
    SampleBuffer* sample = sets.rtype2Samples[command];
    if (!sample)
        return;
    if (command >= kFirstVoiceCommand && command <= kLastVoiceCommand) {
        stopSample(sets.rtype2VoiceChannel);
        sets.rtype2VoiceChannel = sample;
    } else if (command < 16) {
        stopSample(sets.rtype2EffectChannel);
        sets.rtype2EffectChannel = sample;
    }
    playSample(sample, 0);
}

} // namespace vortastr
