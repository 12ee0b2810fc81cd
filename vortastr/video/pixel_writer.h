#pragma once
// Writing pens (0 to 15) of a game's picture into the screen surface: hardware entries 16 to
// 31 in 8-bit modes, the current bank's 16-bit colours otherwise. The renderers of the board
// families draw through it.
#include "video/colour_tables.h"
#include "video/screen_surface.h"

#include <algorithm>
#include <cstring>

namespace vortastr {

class PixelWriter {
public:
    // Writes are clipped to the surface and to width x height.
    PixelWriter(ScreenSurface& screen, const ColourTables& colours, int width, int height)
        : pixels_(screen.pixels()), pitch_(screen.pitch()), wide_(screen.format() != PixelFormat::Indexed8),
          width_(std::min(screen.width(), width)), height_(std::min(screen.height(), height)),
          colour16_(colours.colour16[std::size_t(colours.bank & 1)])
    {}

    void put(int x, int y, int pen)
    {
        if (x < 0 || x >= width_ || y < 0 || y >= height_)
            return;
        uint8_t* at = pixels_ + std::ptrdiff_t(y) * pitch_;
        if (wide_) {
            const uint16_t value = colour16_[std::size_t(pen)];
            std::memcpy(at + 2 * x, &value, 2);
        } else {
            at[x] = static_cast<uint8_t>(pen + kFirstGameEntry);
        }
    }

private:
    uint8_t* pixels_;
    int pitch_;
    bool wide_;
    int width_, height_;
    const std::array<uint16_t, 256>& colour16_;
};

} // namespace vortastr
