#pragma once
// The sound device and its sample buffers. Every sample is a static buffer of 8-bit unsigned
// mono bytes with its own playback frequency and volume, played once or looping; the mixing
// library (OpenAL Soft) mixes whatever plays. One buffer and one source per sample. With sound
// off, or when no device could be opened, every operation does nothing.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vortastr {

constexpr std::size_t kMaxSampleBuffers = 128;
constexpr int32_t kSampleFormatRate = 44100;       // the rate the bytes are described with
constexpr int32_t kDefaultSampleFrequency = 22050; // set on every new buffer
constexpr int32_t kOutputRate = 44100;             // rate of the mix (device and recordings)
constexpr int32_t kSilentVolume = -10000;          // hundredths of a decibel; 0 is full volume

// Where the mix goes: the speakers, or memory (rendered frame by frame, for --headless,
// --wav and tests).
enum class SoundOutput { Speakers, Loopback };

struct SampleBuffer {
    uint32_t buffer = 0; // AL buffer name
    uint32_t source = 0; // AL source name
    std::size_t length = 0;
    int32_t frequency = kDefaultSampleFrequency;
    int32_t volume = 0;
};

struct SoundBackend; // the library's device and context

struct SoundDevice {
    std::unique_ptr<SoundBackend> backend; // none when sound is off or no device opened
    bool available = false;
    bool loopback = false;
    std::array<std::unique_ptr<SampleBuffer>, kMaxSampleBuffers> samples;
    int32_t sampleCount = 0;
    SoundDevice();
    ~SoundDevice();
};

SoundDevice& soundDevice();

// Opens the device; sound stays off (false) when it cannot.
bool soundInit(SoundOutput output);
// Releases every sample and the device.
void soundShutdown();
bool soundAvailable();

// A new buffer of `length` bytes at 22050 Hz; null when sound is off, the length is 0 or all
// 128 buffers exist.
SampleBuffer* createSampleBuffer(std::size_t length);
// Copies `length` bytes (at most the buffer's length) into the buffer and sets volume 0.
void fillSampleBuffer(SampleBuffer* buffer, const uint8_t* bytes, std::size_t length);
// A filled buffer from a WAV file, or null (missing file, not RIFF, no "data" chunk).
SampleBuffer* loadWaveSample(const std::string& path);
// The same from a WAV file's bytes (read from a game folder or its archive).
SampleBuffer* loadWaveSample(const std::vector<uint8_t>& file);
// Plays from the beginning, once (looping 0) or looping (1); a playing sample restarts.
void playSample(SampleBuffer* buffer, int looping);
void stopSample(SampleBuffer* buffer);
// Volume in hundredths of a decibel (0 full, -10000 silence).
void setSampleVolume(SampleBuffer* buffer, int32_t volume);
void setSampleFrequency(SampleBuffer* buffer, int32_t hertz);
void releaseAllSamples();

// State of a buffer as the library reports it (tests and diagnostics).
bool samplePlaying(const SampleBuffer* buffer);
bool sampleLooping(const SampleBuffer* buffer);
// Playback position in bytes of the sample.
std::size_t samplePosition(const SampleBuffer* buffer);

// Loopback output only: mixes `frames` stereo frames of 16-bit samples into `out` (which must
// hold 2 x frames values). False (and nothing written) without a loopback device.
bool renderLoopback(int16_t* out, std::size_t frames);

} // namespace vortastr
