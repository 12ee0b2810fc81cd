#pragma once
// Writer of the conversion's AVI file: one video stream of 24-bit bottom-up bitmaps (fourcc "DIB ",
// every frame a key frame; RawAviWriter) or of a libavcodec encoder's output (libavformat's AVI
// muxer, in the codec module), and an optional 16-bit PCM sound stream at 44100 Hz.

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
    kAviNotRegularFile = -5, // a folder, device or FIFO stands at the output path
    kAviWriteError = -6,
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
    ~AviWriter(); // closes (finalises) an open file
    AviWriter(const AviWriter&) = delete;
    AviWriter& operator=(const AviWriter&) = delete;

    // Creates the streams in a temporary file beside path; audioChannels 0 makes no sound stream.
    // Anything but a regular file at path is refused and left alone. On failure nothing stays open
    // and the temporary file is removed.
    int open(const std::string& path, const AviVideoFormat& video, int audioChannels);
    // One video frame: the bitmap's pixel data as it stands. False when the write failed.
    bool writeVideo(const OutputBitmap& bitmap);
    // frames sample frames of interleaved 16-bit samples.
    bool writeAudio(const int16_t* samples, int frames);
    // Flushes the encoder, writes the index and renames the temporary file over path: the file is
    // complete after this. On a failure the temporary file is removed, path is untouched, false.
    bool close();
    // Gives up: the temporary file is removed and path is untouched. The destructor does this for
    // a file that was not closed.
    void discard();
    bool isOpen() const;
    // The errno of the last failed write (0 when none was seen).
    int lastError() const { return lastError_; }

private:
    struct State;
    std::unique_ptr<State> s_;
    int lastError_ = 0;
};

} // namespace reelcast
