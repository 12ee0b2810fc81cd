#pragma once
// The graphics sheets: decoded tiles and sprites, one pen (0 to 15) per byte, 128 pixels per
// line. A sheet is made of units of 128 lines (256 tiles of 8 x 8, or 64 sprites of 16 x 16).
#include <cstdint>
#include <memory>
#include <vector>

namespace vortastr {

constexpr int kSheetWidth = 128;
constexpr int kUnitLines = 128;
constexpr std::size_t kUnitBytes = std::size_t(kSheetWidth) * kUnitLines;

struct GraphicsSheet {
    int units = 0;
    std::vector<uint8_t> pixels; // kSheetWidth x (units x kUnitLines)

    int lines() const { return units * kUnitLines; }
    const uint8_t* line(int y) const { return pixels.data() + std::size_t(y) * kSheetWidth; }
};

// A cleared sheet of `units` units; null when units is not positive or memory runs out.
std::unique_ptr<GraphicsSheet> createSheet(int units);

// Copies `units` units of pixels into the sheet from line `firstLine` on. Lines that fall
// outside the sheet are left out.
void fillSheet(GraphicsSheet& sheet, const uint8_t* pixels, int units, int firstLine);

// The running game's tile and sprite sheets.
struct GraphicsSheets {
    std::unique_ptr<GraphicsSheet> tileSheet;
    std::unique_ptr<GraphicsSheet> spriteSheet;
};
GraphicsSheets& graphicsSheets();
void releaseSheets();

} // namespace vortastr
