#pragma once
// Plays the memory-rendered mix on the default audio device through SDL2's audio queue: used
// when a windowed run records its sound (--wav), so the mix that is written is also heard.
#include <cstddef>
#include <cstdint>

namespace vortastr {

class SdlAudioMonitor {
public:
    SdlAudioMonitor();
    ~SdlAudioMonitor();
    SdlAudioMonitor(const SdlAudioMonitor&) = delete;
    SdlAudioMonitor& operator=(const SdlAudioMonitor&) = delete;

    bool isOpen() const { return device_ != 0; }
    // Queues one frame's samples; while more than a few frames wait, new ones are dropped so
    // the sound never lags behind the picture.
    void queue(const int16_t* samples, std::size_t frames);

private:
    uint32_t device_ = 0;
    bool initialised_ = false;
};

} // namespace vortastr
