#pragma once
// The surface renderers draw into: a block of pixels in memory, either 8-bit indices into a
// 256-entry palette or 16-bit 5-6-5 direct colour.
#include <array>
#include <cstdint>
#include <vector>

namespace vortastr {

enum class PixelFormat { Indexed8, Rgb565 };

// A pixel format the way renderers need it: depth and the three colour masks (zero when indexed).
struct PixelLayout {
    int bitsPerPixel = 16;
    uint32_t redMask = 0xF800;
    uint32_t greenMask = 0x07E0;
    uint32_t blueMask = 0x001F;
    bool paletteIndexed = false;
};
PixelLayout pixelLayoutOf(PixelFormat format);

class ScreenSurface {
public:
    ScreenSurface() = default;
    ScreenSurface(int width, int height, PixelFormat format);

    int width() const { return width_; }
    int height() const { return height_; }
    PixelFormat format() const { return format_; }
    int bytesPerPixel() const { return format_ == PixelFormat::Indexed8 ? 1 : 2; }
    int pitch() const { return width_ * bytesPerPixel(); } // bytes per line
    bool empty() const { return width_ == 0 || height_ == 0; }

    uint8_t* pixels() { return pixels_.data(); }
    const uint8_t* pixels() const { return pixels_.data(); }
    std::size_t byteCount() const { return pixels_.size(); }

    // Fills every pixel with the value (an index or a 16-bit colour).
    void fill(uint32_t value);

    // Palette of an Indexed8 surface, 0xAARRGGBB per entry.
    std::array<uint32_t, 256>& palette() { return palette_; }
    const std::array<uint32_t, 256>& palette() const { return palette_; }

    // The pixel at (x, y) as 0xAARRGGBB: through the palette, or the 5-6-5 fields widened.
    uint32_t argbAt(int x, int y) const;
    std::vector<uint32_t> toArgb() const;

private:
    int width_ = 0;
    int height_ = 0;
    PixelFormat format_ = PixelFormat::Rgb565;
    std::vector<uint8_t> pixels_;
    std::array<uint32_t, 256> palette_{};
};

} // namespace vortastr
