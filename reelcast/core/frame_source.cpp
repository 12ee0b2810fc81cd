#include "core/frame_source.h"

namespace reelcast {

FrameSource::FrameSource(MovieReader& reader, FrameDecoder& decoder, int32_t frameCount)
    : reader_(reader), decoder_(decoder), frameCount_(frameCount), width_(reader.info().width),
      height_(reader.info().height), front_(size_t(width_) * height_, 0), back_(size_t(width_) * height_, 0)
{}

int FrameSource::next()
{
    const int status = reader_.readNextFrame();
    ++reads_;
    lastDamaged_ = false;
    if (reads_ > frameCount_)
        return status; // past the movie's frames the last picture stays
    bool whole = reader_.frameSize() > 0 && !reader_.frameDamaged();
    if (whole)
        whole = decoder_.decodeFrame(reader_.frameData(), reader_.frameSize(), {back_.data(), width_, height_}) == 0;
    if (whole) {
        front_.swap(back_);
    } else {
        lastDamaged_ = true;
        ++damaged_;
    }
    return status;
}

} // namespace reelcast
