#pragma once
// FFmpeg's encoders are reached through reelcast_codecs.so, a module beside the program loaded the
// first time a compressor is listed or used: uncompressed conversions (written by RawAviWriter)
// start without loading FFmpeg's libraries, which would take a tenth of a short conversion's time.

#include <cstdint>
#include <memory>
#include <vector>

#include "core/avi_writer.h"
#include "core/compression_options.h"
#include "core/output_bitmap.h"

namespace reelcast {

// An AVI file being written through libavformat with a libavcodec encoder.
class EncodedAviOutput {
public:
    virtual ~EncodedAviOutput() = default;
    virtual bool writeVideo(const OutputBitmap& bitmap) = 0;
    virtual bool writeAudio(const int16_t* samples, int frames) = 0;
    // Flushes the encoder, writes the index and closes the file.
    virtual bool finish() = 0;
    // The errno of the last failed write (0 when none was seen).
    virtual int lastError() const = 0;
};

struct CodecModule {
    // Appends the encoders the AVI muxer accepts and this FFmpeg has.
    void (*appendCompressors)(std::vector<CompressorInfo>& list);
    // Writes to path, an existing empty file; an AviStatus (kAviOk when out was set).
    int (*open)(const char* path, const AviVideoFormat& video, const CompressorInfo& codec, int audioChannels,
                std::unique_ptr<EncodedAviOutput>& out);
};

// The module's name and entry point (returning const CodecModule*).
inline constexpr const char* kCodecModuleFile = "reelcast_codecs.so";
inline constexpr const char* kCodecModuleEntry = "reelcast_codec_module";

// Loads the module once; null when it cannot be loaded.
const CodecModule* codecModule();

} // namespace reelcast
