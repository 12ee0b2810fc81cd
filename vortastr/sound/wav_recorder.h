#pragma once
// Records 16-bit stereo PCM at 44100 Hz into a WAV file. The data goes to a temporary file
// beside the target as it comes; finish() completes the header and renames it into place, so
// an interrupted run never leaves half a file under the target's name.
#include <cstdint>
#include <cstdio>
#include <string>

namespace vortastr {

class WavRecorder {
public:
    WavRecorder() = default;
    ~WavRecorder();
    WavRecorder(const WavRecorder&) = delete;
    WavRecorder& operator=(const WavRecorder&) = delete;

    // False with a reason when the temporary file cannot be created.
    bool open(const std::string& path, std::string& error);
    bool isOpen() const { return file_ != nullptr; }
    // Appends interleaved left/right samples; a failed write is remembered for finish().
    void append(const int16_t* samples, std::size_t frames);
    // Completes and renames the file; false with a reason when anything failed.
    bool finish(std::string& error);
    uint64_t framesWritten() const { return frames_; }

private:
    void discard();

    std::FILE* file_ = nullptr;
    std::string path_, temporary_;
    uint64_t frames_ = 0;
    bool failed_ = false;
};

} // namespace vortastr
