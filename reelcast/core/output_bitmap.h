#pragma once
// The picture a job shows and writes: one block holding a 40-byte BITMAPINFOHEADER followed by
// 24-bit pixel rows (B, G, R), stored bottom-up, each row padded to a multiple of four bytes.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/frame_decoder.h"

namespace reelcast {

class OutputBitmap {
public:
    static constexpr size_t kHeaderSize = 40;

    OutputBitmap(uint32_t width, uint32_t height); // throws std::bad_alloc

    uint32_t width() const { return width_; }
    uint32_t height() const { return height_; }
    size_t stride() const { return stride_; }
    size_t imageSize() const { return stride_ * height_; } // biSizeImage

    const uint8_t* header() const { return block_.data(); }
    uint8_t* pixels() { return block_.data() + kHeaderSize; }
    const uint8_t* pixels() const { return block_.data() + kHeaderSize; }
    // Row y of the picture (0 = top): the bitmap keeps it at row height - 1 - y.
    uint8_t* pictureRow(uint32_t y) { return pixels() + stride_ * (height_ - 1 - y); }
    const uint8_t* pictureRow(uint32_t y) const { return pixels() + stride_ * (height_ - 1 - y); }

private:
    uint32_t width_, height_;
    size_t stride_;
    std::vector<uint8_t> block_;
};

// Null when the memory cannot be had (or for a zero or absurd size).
std::unique_ptr<OutputBitmap> createOutputBitmap(uint32_t width, uint32_t height);

enum ResizeMethod : int {
    kResizeNone = 0,     // same size: pixels copied as they are
    kResizeNearest = 1,  // method 1
    kResizeBilinear = 2, // method 2
};

// Copies the decoder's picture into the bitmap; with a resizing method it is scaled to the bitmap's size.
void copyPictureToBitmap(const PictureView& picture, OutputBitmap& bitmap, ResizeMethod method);

} // namespace reelcast
