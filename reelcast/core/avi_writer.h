#pragma once
// Writer of the conversion's AVI file over libavformat's AVI muxer: one video stream of 24-bit
// bottom-up bitmaps (fourcc "DIB ", every frame a key frame) or of a libavcodec encoder's output,
// and an optional 16-bit PCM sound stream at 44100 Hz.

#include <cstdint>
#include <memory>
#include <string>

#include "core/compression_options.h"
#include "core/output_bitmap.h"

namespace reelcast {

enum AviStatus : int {
    kAviOk = 0,
    kAviCantCreateFile = -1,
    kAviCantCreateStream = -2,
    kAviCantMakeCompressedStream = -3,
    kAviCantSetFormat = -4,
};

// The text shown for a set-up failure.
const char* aviStatusMessage(int status);

struct AviVideoFormat {
    uint32_t width = 0, height = 0;
    int32_t frameRate = 15;
    CompressionOptions options;
};

class AviWriter {
public:
    AviWriter();
    ~AviWriter();  // closes (finalises) an open file
    AviWriter(const AviWriter&) = delete;
    AviWriter& operator=(const AviWriter&) = delete;

    // Creates the file with its streams; audioChannels 0 makes no sound stream. On failure nothing
    // stays open and a file this call created is removed.
    int open(const std::string& path, const AviVideoFormat& video, int audioChannels);
    // One video frame: the bitmap's pixel data as it stands.
    bool writeVideo(const OutputBitmap& bitmap);
    // frames sample frames of interleaved 16-bit samples.
    bool writeAudio(const int16_t* samples, int frames);
    // Flushes the encoder and writes the index; the file is complete after this.
    bool close();
    bool isOpen() const;

private:
    struct State;
    std::unique_ptr<State> s_;
};

}  // namespace reelcast
