#include "sound/sample_sets.h"

#include "boards/rom_files.h"

#include <cstdio>

namespace vortastr {
namespace {

// Below the ROM path, in `sound/` or `sound.zip`; a missing or unreadable file gives no buffer.
SampleBuffer* loadNamed(const std::string& name)
{
    const auto bytes = readRomBytes(name);
    return bytes ? loadWaveSample(*bytes) : nullptr;
}

template <std::size_t N>
void setRateAndVolume(std::array<SampleBuffer*, N>& slots, int32_t hertz, int32_t volume)
{
    for (SampleBuffer* slot : slots) {
        setSampleFrequency(slot, hertz);
        setSampleVolume(slot, volume);
    }
}

template <std::size_t N>
void stopAll(std::array<SampleBuffer*, N>& slots)
{
    for (SampleBuffer* slot : slots)
        stopSample(slot);
}

void stopVortaLoops(SampleSets& sets)
{
    for (std::size_t slot : {23, 24, 25})
        stopSample(sets.vortaSamples[slot]);
}

} // namespace

SampleSets& sampleSets()
{
    static SampleSets sets;
    return sets;
}

void forgetSampleSlots()
{
    SampleSets& sets = sampleSets();
    sets.tutankhamSamples = {};
    sets.vortaSamples = {};
    sets.rtype2Voices = {};
    sets.rtype2Samples = {};
    sets.rtype2EffectChannel = nullptr;
    sets.rtype2VoiceChannel = nullptr;
}

void loadGameSamples(GameId game)
{
    // Released buffers must not stay reachable through any slot or channel.
    forgetSampleSlots();
    switch (game) {
    case Tutankham: loadTutankhamSamples(); break;
    case VortaStrike:
    case VortaStrikeBootleg: loadVortaSamples(); break;
    case RType2: loadRtype2Samples(); break;
    default: releaseAllSamples(); break;
    }
}

void soundCommand(GameId game, uint8_t command)
{
    switch (game) {
    case Tutankham: tutankhamCommand(command); break;
    case VortaStrike:
    case VortaStrikeBootleg: vortaCommand(command); break;
    case RType2: rtype2Command(command); break;
    default: break;
    }
}

void loadTutankhamSamples()
{
    SampleSets& sets = sampleSets();
    releaseAllSamples();
    sets.tutankhamSamples = {};
    auto& slots = sets.tutankhamSamples;
    slots[0] = loadNamed("sound\\tut_crd2.wav");
    slots[1] = loadNamed("sound\\tut_mon2.wav");
    slots[4] = loadNamed("sound\\tut_maz2.wav");
    slots[2] = loadNamed("sound\\tut_key2.wav");
    slots[3] = loadNamed("sound\\tut_sht2.wav");
    setRateAndVolume(slots, kDefaultSampleFrequency, 0);
}

void tutankhamCommand(uint8_t command)
{
    auto& slots = sampleSets().tutankhamSamples;
    switch (command) {
    case 0: stopAll(slots); break;
    case 1: playSample(slots[2], 0); break;
    case 5: playSample(slots[0], 0); break;
    case 9: playSample(slots[3], 0); break;
    case 11: playSample(slots[4], 0); break;
    case 74: playSample(slots[1], 0); break;
    default: break;
    }
}

void loadVortaSamples()
{
    SampleSets& sets = sampleSets();
    releaseAllSamples();
    sets.vortaSamples = {};
    auto& slots = sets.vortaSamples;
    char name[32];
    auto numbered = [&](std::size_t slot, int number, const char* suffix) {
        std::snprintf(name, sizeof name, "sound\\vorta_%02d%s.wav", number, suffix);
        slots[slot] = loadNamed(name);
    };
    for (int slot = 0; slot <= 10; ++slot)
        numbered(std::size_t(slot), slot + 1, "");
    for (int slot = 12; slot <= 16; ++slot)
        numbered(std::size_t(slot), slot + 1, "");
    numbered(19, 20, "");
    numbered(21, 22, "");
    numbered(23, 24, "l");
    numbered(24, 25, "l");
    numbered(25, 26, "l");
    const int effects[] = {38, 44, 45, 47, 49};
    for (std::size_t k = 0; k < 5; ++k)
        numbered(29 + k, effects[k], "");
    numbered(35, 50, "");
    numbered(36, 51, "");
    numbered(37, 52, "");
    numbered(39, 54, "");
    setRateAndVolume(slots, kDefaultSampleFrequency, 0);
}

void vortaCommand(uint8_t command)
{
    SampleSets& sets = sampleSets();
    auto& slots = sets.vortaSamples;
    const std::size_t b = command;
    if ((b >= 1 && b <= 11) || (b >= 13 && b <= 17) || b == 20 || b == 22) {
        playSample(slots[b - 1], 0);
        return;
    }
    switch (b) {
    case 0: stopAll(slots); break;
    case 24:
    case 25:
    case 26:
        stopVortaLoops(sets);
        playSample(slots[b - 1], 1);
        break;
    case 27: stopVortaLoops(sets); break;
    case 76: playSample(slots[29], 0); break;
    case 82: playSample(slots[30], 0); break;
    case 83: playSample(slots[31], 0); break;
    case 85: playSample(slots[32], 0); break;
    case 87: playSample(slots[33], 0); break;
    case 129:
    case 130:
    case 132:
    case 133: playSample(slots[b - 94], 0); break;
    default: break;
    }
}

} // namespace vortastr
