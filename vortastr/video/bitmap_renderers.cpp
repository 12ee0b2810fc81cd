#include "video/bitmap_renderers.h"

#include <algorithm>
#include <cstring>

namespace vortastr {
namespace {

constexpr int kBitmapSize = 256;
constexpr int kLineBytes = 128;

// Writes pixel values (pens 0-15) of the bitmap into the screen: hardware entries 16 to 31 in
// 8-bit modes, the current bank's 16-bit colours otherwise.
class PixelWriter {
public:
    PixelWriter(ScreenSurface& screen, const ColourTables& colours)
        : pixels_(screen.pixels()), pitch_(screen.pitch()), wide_(screen.format() != PixelFormat::Indexed8),
          width_(std::min(screen.width(), kBitmapSize)), height_(std::min(screen.height(), kBitmapSize)),
          colour16_(colours.colour16[std::size_t(colours.bank & 1)])
    {
    }

    bool fits() const { return pixels_ && width_ == kBitmapSize && height_ == kBitmapSize; }

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

    // A byte of video RAM: low nibble at (x, y), high nibble at (x, y - 1).
    void putPair(int x, int y, uint8_t byte)
    {
        put(x, y, byte & 15);
        put(x, y - 1, byte >> 4);
    }

private:
    uint8_t* pixels_;
    int pitch_;
    bool wide_;
    int width_, height_;
    const std::array<uint16_t, 256>& colour16_;
};

} // namespace

void renderVortaStrike(ScreenSurface& screen, const ColourTables& colours, const uint8_t* videoRam)
{
    if (!videoRam || screen.empty())
        return;
    PixelWriter out(screen, colours);
    for (int line = 0; line < kBitmapSize; ++line) {
        const uint8_t* bytes = videoRam + line * kLineBytes;
        for (int k = 0; k < kLineBytes; ++k)
            out.putPair(line, 255 - 2 * k, bytes[k]);
    }
}

void renderTutankham(ScreenSurface& screen, const ColourTables& colours, const uint8_t* videoRam, uint8_t scroll)
{
    if (!videoRam || screen.empty())
        return;
    PixelWriter out(screen, colours);
    for (int line = 0; line < kBitmapSize; ++line) {
        const uint8_t* bytes = videoRam + line * kLineBytes;
        const int column = (line - scroll - 1) & 0xFF;
        for (int k = 0; k < 96; ++k)
            out.putPair(column, 255 - 2 * k, bytes[k]);
        for (int m = 0; m < 32; ++m)
            out.putPair(line, 63 - 2 * m, bytes[96 + m]);
    }
}

void renderFrame(DisplayState& display, const ColourTables& colours, const RenderInputs& inputs)
{
    if (display.suspended || !inputs.memory)
        return;
    switch (inputs.game) {
    case Tutankham: renderTutankham(display.screen, colours, inputs.memory, inputs.scroll); break;
    case VortaStrike:
    case VortaStrikeBootleg: renderVortaStrike(display.screen, colours, inputs.memory); break;
    default: break; // the tile-and-sprite boards come with their boards
    }
}

} // namespace vortastr
