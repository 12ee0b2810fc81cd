#include "sound/sound_session.h"

#include "sound/sample_sets.h"
#include "sound/sound_device.h"
#include "sound/wav_recorder.h"

#include <vector>

namespace vortastr {
namespace {

struct SoundSession {
    WavRecorder recorder;
    std::vector<int16_t> mix;
    int64_t frame = 0;
    int32_t fps = 0;
    bool speakersAllowed = false;
    MixMonitor monitor;
};

SoundSession& session()
{
    static SoundSession s;
    return s;
}

} // namespace

std::size_t samplesForFrame(int64_t frame, int32_t fps)
{
    if (fps <= 0 || frame < 0)
        return 0;
    return std::size_t((frame + 1) * kOutputRate / fps - frame * kOutputRate / fps);
}

void allowSpeakerOutput(bool allowed) { session().speakersAllowed = allowed; }

void setMixMonitor(MixMonitor monitor) { session().monitor = std::move(monitor); }

bool startSound(const SoundSessionOptions& options, std::string& error)
{
    SoundSession& s = session();
    s.frame = 0;
    s.fps = 0;
    if (options.enabled) {
        const bool inMemory = options.headless || !options.wavPath.empty() || !s.speakersAllowed;
        soundInit(inMemory ? SoundOutput::Loopback : SoundOutput::Speakers);
    }
    if (!options.wavPath.empty() && !s.recorder.open(options.wavPath, error)) {
        soundShutdown();
        return false;
    }
    return true;
}

void soundFrameDone(int32_t framesPerSecond)
{
    SoundSession& s = session();
    const bool rendering = soundDevice().loopback;
    if (!rendering && !s.recorder.isOpen())
        return;
    if (framesPerSecond != s.fps) { // a new frame rate starts its own count
        s.fps = framesPerSecond;
        s.frame = 0;
    }
    const std::size_t frames = samplesForFrame(s.frame++, framesPerSecond);
    if (frames == 0)
        return;
    s.mix.assign(frames * 2, 0);
    renderLoopback(s.mix.data(), frames);
    s.recorder.append(s.mix.data(), frames);
    if (s.monitor && rendering)
        s.monitor(s.mix.data(), frames);
}

bool stopSound(std::string& error)
{
    SoundSession& s = session();
    soundShutdown();
    forgetSampleSlots();
    if (!s.recorder.isOpen())
        return true;
    return s.recorder.finish(error);
}

} // namespace vortastr
