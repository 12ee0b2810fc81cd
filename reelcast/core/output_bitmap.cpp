#include "core/output_bitmap.h"

#include <tmmintrin.h>

#include <algorithm>
#include <new>

namespace reelcast {
namespace {

void putLe32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}

void storePixel(uint8_t* out, uint32_t rgb)
{
    out[0] = uint8_t(rgb >> 16); // B
    out[1] = uint8_t(rgb >> 8);  // G
    out[2] = uint8_t(rgb);       // R
}

// Four pixels (R, G, B, 0 in memory) to twelve bytes B, G, R; stores 16 bytes, the last four of
// which the next group (or the row's scalar tail) overwrites.
__attribute__((target("ssse3"))) uint32_t copyRowSsse3(const uint32_t* src, uint8_t* dst, uint32_t w)
{
    const __m128i order = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    uint32_t x = 0;
    for (; x + 5 < w; x += 4) { // at least one pixel stays for the tail, so no store passes the row
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 3 * x), _mm_shuffle_epi8(p, order));
    }
    return x;
}

void copySameSize(const PictureView& pic, OutputBitmap& bmp)
{
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    const uint32_t w = std::min(pic.width, bmp.width()), h = std::min(pic.height, bmp.height());
    for (uint32_t y = 0; y < h; ++y) {
        const uint32_t* src = pic.pixels + size_t(y) * pic.width;
        uint8_t* dst = bmp.pictureRow(y);
        for (uint32_t x = ssse3 ? copyRowSsse3(src, dst, w) : 0; x < w; ++x)
            storePixel(dst + 3 * x, src[x]);
    }
}

void copyNearest(const PictureView& pic, OutputBitmap& bmp)
{
    const float rx = float(bmp.width()) / float(pic.width), ry = float(bmp.height()) / float(pic.height);
    for (uint32_t y = 0; y < bmp.height(); ++y) {
        uint8_t* dst = bmp.pictureRow(y);
        const int sy = int(float(y) / ry + 0.5f);
        for (uint32_t x = 0; x < bmp.width(); ++x) {
            const int sx = int(float(x) / rx + 0.5f);
            const bool inside = sx >= 0 && sy >= 0 && uint32_t(sx) < pic.width && uint32_t(sy) < pic.height;
            storePixel(dst + 3 * x, inside ? pic.pixels[size_t(sy) * pic.width + sx] : 0);
        }
    }
}

// Neighbours beyond the right and bottom edges are taken from the edge pixel.
void copyBilinear(const PictureView& pic, OutputBitmap& bmp)
{
    const float rx = float(bmp.width()) / float(pic.width), ry = float(bmp.height()) / float(pic.height);
    for (uint32_t y = 0; y < bmp.height(); ++y) {
        uint8_t* dst = bmp.pictureRow(y);
        const float fy = float(y) / ry;
        const int iy = int(fy);
        const float ay = fy - float(iy);
        for (uint32_t x = 0; x < bmp.width(); ++x) {
            const float fx = float(x) / rx;
            const int ix = int(fx);
            const float ax = fx - float(ix);
            if (ix < 0 || iy < 0 || uint32_t(ix) >= pic.width || uint32_t(iy) >= pic.height) {
                storePixel(dst + 3 * x, 0);
                continue;
            }
            const uint32_t ix1 = std::min<uint32_t>(ix + 1, pic.width - 1);
            const uint32_t iy1 = std::min<uint32_t>(iy + 1, pic.height - 1);
            const uint32_t* row0 = pic.pixels + size_t(iy) * pic.width;
            const uint32_t* row1 = pic.pixels + size_t(iy1) * pic.width;
            const uint32_t p00 = row0[ix], p10 = row0[ix1], p01 = row1[ix], p11 = row1[ix1];
            uint32_t rgb = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                auto c = [shift](uint32_t p) { return float((p >> shift) & 0xFF); };
                const float v = (c(p00) * (1 - ax) + c(p10) * ax) * (1 - ay) + (c(p01) * (1 - ax) + c(p11) * ax) * ay;
                const int t = std::clamp(int(v), 0, 255);
                rgb |= uint32_t(t) << shift;
            }
            storePixel(dst + 3 * x, rgb);
        }
    }
}

} // namespace

OutputBitmap::OutputBitmap(uint32_t width, uint32_t height)
    : width_(width), height_(height), stride_(((size_t(width) * 24 + 31) / 32) * 4),
      block_(kHeaderSize + stride_ * height, 0)
{
    uint8_t* h = block_.data();
    putLe32(h + 0, 40);
    putLe32(h + 4, width);
    putLe32(h + 8, height);
    h[12] = 1;  // biPlanes
    h[14] = 24; // biBitCount
    putLe32(h + 20, uint32_t(imageSize()));
}

std::unique_ptr<OutputBitmap> createOutputBitmap(uint32_t width, uint32_t height)
{
    constexpr uint32_t kLimit = 16384;
    if (width == 0 || height == 0 || width > kLimit || height > kLimit)
        return nullptr;
    try {
        return std::make_unique<OutputBitmap>(width, height);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void copyPictureToBitmap(const PictureView& picture, OutputBitmap& bitmap, ResizeMethod method)
{
    if (!picture.pixels || picture.width == 0 || picture.height == 0)
        return;
    switch (method) {
    case kResizeNearest: copyNearest(picture, bitmap); break;
    case kResizeBilinear: copyBilinear(picture, bitmap); break;
    default: copySameSize(picture, bitmap); break;
    }
}

} // namespace reelcast
