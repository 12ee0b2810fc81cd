#pragma once
// The movie's pictures one after the other, for the conversion, the preview and the frame export:
// each frame is read and decoded into a second picture, which takes the place of the shown one only
// when the frame was whole and decoded without an error. A damaged frame is thus skipped (the
// previous picture stays) and counted.

#include <cstdint>
#include <vector>

#include "core/frame_decoder.h"
#include "core/movie_reader.h"

namespace reelcast {

class FrameSource {
public:
    // frameCount: the frames the scan found; reads past them (the AVI's last frames) are not
    // counted as damage.
    FrameSource(MovieReader& reader, FrameDecoder& decoder, int32_t frameCount);

    // Reads and decodes the next frame; returns the reader's status.
    int next();
    PictureView picture() { return {front_.data(), width_, height_}; }
    int32_t damagedFrames() const { return damaged_; }
    bool lastDamaged() const { return lastDamaged_; }

private:
    MovieReader& reader_;
    FrameDecoder& decoder_;
    int32_t frameCount_;
    uint32_t width_, height_;
    std::vector<uint32_t> front_, back_; // undecoded parts (beyond whole macroblocks) stay black
    int32_t reads_ = 0, damaged_ = 0;
    bool lastDamaged_ = false;
};

} // namespace reelcast
