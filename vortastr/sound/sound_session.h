#pragma once
// Sound for one run of the emulator: which output the device uses, the optional recording of
// the mix (--wav), and the step that advances a memory-rendered mix by one emulated frame.
// Headless runs never open the speakers: they mix in memory, exactly one frame's worth of
// samples per emulated frame, so a recording is the same on every run.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace vortastr {

struct SoundSessionOptions {
    bool enabled = true; // the "Sound" setting
    bool headless = false;
    std::string wavPath; // record the mix here; empty = no recording
};

// The program's windowed runs play through the speakers; until this is called (tests, and
// every headless run) the mix is only rendered in memory.
void allowSpeakerOutput(bool allowed);

// Receives the memory-rendered mix of every frame (interleaved 16-bit stereo at 44100 Hz), so
// a windowed run that records can still be heard; null for none.
using MixMonitor = std::function<void(const int16_t* samples, std::size_t frames)>;
void setMixMonitor(MixMonitor monitor);

// Start-up: opens the device (sound stays off silently when it cannot) and the recording.
// False with a reason only when the recording cannot be started.
bool startSound(const SoundSessionOptions& options, std::string& error);
// After each emulated frame: mixes 44100 / fps samples when the mix is rendered in memory and
// appends them to the recording (silence when sound is off).
void soundFrameDone(int32_t framesPerSecond);
// Exit: releases every sample and the device and completes the recording. False with a
// reason when the recording could not be written.
bool stopSound(std::string& error);

// Samples of emulated frame `frame` at `fps`: the frames share 44100 samples a second exactly.
std::size_t samplesForFrame(int64_t frame, int32_t fps);

} // namespace vortastr
