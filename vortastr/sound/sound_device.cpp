#include "sound/sound_device.h"

#include "sound/wave_data.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

namespace vortastr {

struct SoundBackend {
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    LPALCRENDERSAMPLESSOFT renderSamples = nullptr;
    bool renderFloat = false;
    std::vector<float> floatMix; // loopback rendering in float, converted here without dither

    ~SoundBackend()
    {
        if (context) {
            alcMakeContextCurrent(nullptr);
            alcDestroyContext(context);
        }
        if (device)
            alcCloseDevice(device);
    }
};

SoundDevice::SoundDevice() = default;
SoundDevice::~SoundDevice() = default;

namespace {

bool openSpeakers(SoundBackend& backend)
{
    backend.device = alcOpenDevice(nullptr);
    if (!backend.device)
        return false;
    backend.context = alcCreateContext(backend.device, nullptr);
    return backend.context != nullptr;
}

bool openLoopback(SoundBackend& backend)
{
    if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback"))
        return false;
    auto openLoopbackDevice =
        reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    auto formatSupported = reinterpret_cast<LPALCISRENDERFORMATSUPPORTEDSOFT>(
        alcGetProcAddress(nullptr, "alcIsRenderFormatSupportedSOFT"));
    backend.renderSamples =
        reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    if (!openLoopbackDevice || !formatSupported || !backend.renderSamples)
        return false;
    backend.device = openLoopbackDevice(nullptr);
    if (!backend.device)
        return false;
    // Float output is converted to 16 bits here, so the library adds no dither of its own.
    backend.renderFloat = formatSupported(backend.device, kOutputRate, ALC_STEREO_SOFT, ALC_FLOAT_SOFT);
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                                 ALC_STEREO_SOFT,
                                 ALC_FORMAT_TYPE_SOFT,
                                 backend.renderFloat ? ALC_FLOAT_SOFT : ALC_SHORT_SOFT,
                                 ALC_FREQUENCY,
                                 kOutputRate,
                                 ALC_HRTF_SOFT,
                                 ALC_FALSE,
                                 0};
    backend.context = alcCreateContext(backend.device, attributes);
    return backend.context != nullptr;
}

bool active(const SampleBuffer* buffer)
{
    const SoundDevice& device = soundDevice();
    return buffer && device.backend && device.available;
}

} // namespace

SoundDevice& soundDevice()
{
    static SoundDevice device;
    return device;
}

bool soundInit(SoundOutput output)
{
    SoundDevice& device = soundDevice();
    soundShutdown();
    auto backend = std::make_unique<SoundBackend>();
    const bool opened = output == SoundOutput::Loopback ? openLoopback(*backend) : openSpeakers(*backend);
    if (!opened || !alcMakeContextCurrent(backend->context))
        return false;
    alListener3f(AL_POSITION, 0.0f, 0.0f, 0.0f);
    device.backend = std::move(backend);
    device.loopback = output == SoundOutput::Loopback;
    device.available = true;
    return true;
}

void soundShutdown()
{
    SoundDevice& device = soundDevice();
    releaseAllSamples();
    device.backend.reset();
    device.available = false;
    device.loopback = false;
}

bool soundAvailable() { return soundDevice().available; }

SampleBuffer* createSampleBuffer(std::size_t length)
{
    SoundDevice& device = soundDevice();
    if (!device.available || length == 0 || length > INT32_MAX || device.sampleCount >= int32_t(kMaxSampleBuffers))
        return nullptr;
    auto sample = std::make_unique<SampleBuffer>();
    alGetError();
    alGenBuffers(1, &sample->buffer);
    if (alGetError() != AL_NO_ERROR)
        return nullptr;
    alGenSources(1, &sample->source);
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &sample->buffer);
        return nullptr;
    }
    // Silence until it is filled.
    const std::vector<uint8_t> silence(length, 0x80);
    alBufferData(sample->buffer, AL_FORMAT_MONO8, silence.data(), ALsizei(length), kSampleFormatRate);
    alSourcei(sample->source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(sample->source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSourcef(sample->source, AL_ROLLOFF_FACTOR, 0.0f);
    alSourcei(sample->source, AL_BUFFER, ALint(sample->buffer));
    if (alGetError() != AL_NO_ERROR) {
        alDeleteSources(1, &sample->source);
        alDeleteBuffers(1, &sample->buffer);
        return nullptr;
    }
    sample->length = length;
    SampleBuffer* created = sample.get();
    device.samples[std::size_t(device.sampleCount++)] = std::move(sample);
    setSampleFrequency(created, kDefaultSampleFrequency);
    return created;
}

void fillSampleBuffer(SampleBuffer* buffer, const uint8_t* bytes, std::size_t length)
{
    if (!active(buffer) || !bytes)
        return;
    const std::size_t copied = std::min(length, buffer->length);
    std::vector<uint8_t> image(buffer->length, 0x80);
    std::copy(bytes, bytes + copied, image.begin());
    // A buffer's data can only change while no source holds it.
    alSourceStop(buffer->source);
    alSourcei(buffer->source, AL_BUFFER, 0);
    alBufferData(buffer->buffer, AL_FORMAT_MONO8, image.data(), ALsizei(image.size()), kSampleFormatRate);
    alSourcei(buffer->source, AL_BUFFER, ALint(buffer->buffer));
    setSampleVolume(buffer, 0);
}

SampleBuffer* loadWaveSample(const std::string& path)
{
    if (!soundDevice().available)
        return nullptr;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return nullptr;
    return loadWaveSample(std::vector<uint8_t>{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
}

SampleBuffer* loadWaveSample(const std::vector<uint8_t>& file)
{
    if (!soundDevice().available)
        return nullptr;
    const auto bytes = waveSampleBytes(file);
    if (!bytes)
        return nullptr;
    SampleBuffer* buffer = createSampleBuffer(bytes->size());
    if (buffer)
        fillSampleBuffer(buffer, bytes->data(), bytes->size());
    return buffer;
}

void playSample(SampleBuffer* buffer, int looping)
{
    if (!active(buffer))
        return;
    alSourceRewind(buffer->source);
    alSourcei(buffer->source, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
    alSourcePlay(buffer->source);
}

void stopSample(SampleBuffer* buffer)
{
    if (active(buffer))
        alSourceStop(buffer->source);
}

void setSampleVolume(SampleBuffer* buffer, int32_t volume)
{
    if (!active(buffer))
        return;
    buffer->volume = std::clamp(volume, kSilentVolume, int32_t(0));
    const float gain = buffer->volume <= kSilentVolume ? 0.0f : float(std::pow(10.0, buffer->volume / 2000.0));
    alSourcef(buffer->source, AL_GAIN, gain);
}

void setSampleFrequency(SampleBuffer* buffer, int32_t hertz)
{
    if (!active(buffer) || hertz <= 0)
        return;
    buffer->frequency = hertz;
    alSourcef(buffer->source, AL_PITCH, float(hertz) / float(kSampleFormatRate));
}

void releaseAllSamples()
{
    SoundDevice& device = soundDevice();
    for (auto& sample : device.samples) {
        if (sample && device.backend) {
            alSourceStop(sample->source);
            alSourcei(sample->source, AL_BUFFER, 0);
            alDeleteSources(1, &sample->source);
            alDeleteBuffers(1, &sample->buffer);
        }
        sample.reset();
    }
    device.sampleCount = 0;
}

bool samplePlaying(const SampleBuffer* buffer)
{
    if (!active(buffer))
        return false;
    ALint state = AL_STOPPED;
    alGetSourcei(buffer->source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

bool sampleLooping(const SampleBuffer* buffer)
{
    if (!active(buffer))
        return false;
    ALint looping = AL_FALSE;
    alGetSourcei(buffer->source, AL_LOOPING, &looping);
    return looping == AL_TRUE;
}

std::size_t samplePosition(const SampleBuffer* buffer)
{
    if (!active(buffer))
        return 0;
    ALint offset = 0;
    alGetSourcei(buffer->source, AL_BYTE_OFFSET, &offset);
    return std::size_t(std::max(offset, 0));
}

bool renderLoopback(int16_t* out, std::size_t frames)
{
    SoundDevice& device = soundDevice();
    if (!device.available || !device.loopback || frames == 0)
        return false;
    SoundBackend& backend = *device.backend;
    if (!backend.renderFloat) {
        backend.renderSamples(backend.device, out, ALCsizei(frames));
        return true;
    }
    backend.floatMix.resize(frames * 2);
    backend.renderSamples(backend.device, backend.floatMix.data(), ALCsizei(frames));
    for (std::size_t i = 0; i < frames * 2; ++i)
        out[i] = int16_t(std::lround(std::clamp(backend.floatMix[i], -1.0f, 1.0f) * 32767.0f));
    return true;
}

} // namespace vortastr
