#include "platform/sdl_audio_monitor.h"

#include "sound/sound_device.h"

#include <SDL.h>

namespace vortastr {
namespace {

constexpr uint32_t kMaxQueuedBytes = kOutputRate * 4 / 10; // 0.1 s of 16-bit stereo

} // namespace

SdlAudioMonitor::SdlAudioMonitor()
{
    initialised_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (!initialised_)
        return;
    SDL_AudioSpec wanted{};
    wanted.freq = kOutputRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024;
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device_ != 0)
        SDL_PauseAudioDevice(device_, 0);
}

SdlAudioMonitor::~SdlAudioMonitor()
{
    if (device_ != 0)
        SDL_CloseAudioDevice(device_);
    if (initialised_)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlAudioMonitor::queue(const int16_t* samples, std::size_t frames)
{
    if (device_ == 0 || SDL_GetQueuedAudioSize(device_) > kMaxQueuedBytes)
        return;
    SDL_QueueAudio(device_, samples, uint32_t(frames * 4));
}

} // namespace vortastr
