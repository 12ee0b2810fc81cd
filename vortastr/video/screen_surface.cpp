#include "video/screen_surface.h"

#include <algorithm>
#include <cstring>

namespace vortastr {

PixelLayout pixelLayoutOf(PixelFormat format)
{
    if (format == PixelFormat::Indexed8)
        return {8, 0, 0, 0, true};
    return {16, 0xF800, 0x07E0, 0x001F, false};
}

ScreenSurface::ScreenSurface(int width, int height, PixelFormat format)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), format_(format)
{
    pixels_.assign(static_cast<std::size_t>(width_) * height_ * bytesPerPixel(), 0);
    palette_.fill(0xFF000000u);
}

void ScreenSurface::fill(uint32_t value)
{
    if (format_ == PixelFormat::Indexed8) {
        std::fill(pixels_.begin(), pixels_.end(), static_cast<uint8_t>(value));
        return;
    }
    const auto colour = static_cast<uint16_t>(value);
    for (std::size_t i = 0; i + 1 < pixels_.size(); i += 2)
        std::memcpy(&pixels_[i], &colour, 2);
}

uint32_t ScreenSurface::argbAt(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    const std::size_t offset = static_cast<std::size_t>(y) * pitch() + static_cast<std::size_t>(x) * bytesPerPixel();
    if (format_ == PixelFormat::Indexed8)
        return palette_[pixels_[offset]] | 0xFF000000u;
    uint16_t c;
    std::memcpy(&c, &pixels_[offset], 2);
    const uint32_t r = (c >> 11) & 0x1F, g = (c >> 5) & 0x3F, b = c & 0x1F;
    return 0xFF000000u | ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
}

std::vector<uint32_t> ScreenSurface::toArgb() const
{
    std::vector<uint32_t> out(static_cast<std::size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            out[static_cast<std::size_t>(y) * width_ + x] = argbAt(x, y);
    return out;
}

} // namespace vortastr
