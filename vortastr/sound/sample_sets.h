#pragma once
// The sample sets of the games that have recorded sounds, and the sound commands that play
// them. Sample files are found below the ROM folder like ROM files. A set is loaded at game start; the board's command
// register forwards each byte the main processor writes to the game's command. Every other game is silent.
#include "boards/game_catalogue.h"
#include "sound/sound_device.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace vortastr {

struct SampleSets {
    std::array<SampleBuffer*, 5> tutankhamSamples{};
    std::array<SampleBuffer*, 40> vortaSamples{};
    std::array<SampleBuffer*, 32> rtype2Voices{};
    std::array<SampleBuffer*, 256> rtype2Samples{};
    SampleBuffer* rtype2EffectChannel = nullptr;
    SampleBuffer* rtype2VoiceChannel = nullptr;
    // Shows a name in the window title while RType II loads; null restores the game's title.
    std::function<void(const char* name)> showTitle;
};

SampleSets& sampleSets();
// Empties every slot and both channels (the buffers they borrowed are about to be released).
void forgetSampleSlots();

// Releases the previous game's samples and loads the set of `game`, if it has one.
void loadGameSamples(GameId game);
void loadTutankhamSamples();
void loadVortaSamples();
void loadRtype2Samples();

void tutankhamCommand(uint8_t command);
void vortaCommand(uint8_t command);
void rtype2Command(uint8_t command);

// The board's link: the command of the game whose board wrote the byte.
void soundCommand(GameId game, uint8_t command);

} // namespace vortastr
