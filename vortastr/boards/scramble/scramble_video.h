#pragma once
// Picture of the Scramble-type boards: a 32 x 32 tile map whose 32 columns (8-line bands on
// the turned screen) each scroll and take a colour group from the attribute RAM, shots drawn
// as white lines, then eight 16 x 16 sprites. Tiles are drawn into a 256 x 256 background
// only when a cell's tile or its column's colour changed; the background holds logical
// colours and is converted while it is copied, so palette changes need no redraw.
#include "boards/board.h"
#include "video/colour_tables.h"
#include "video/display_state.h"
#include "video/graphics_sheet.h"

#include <array>
#include <cstdint>

namespace vortastr::scramble {

constexpr int kScreenSize = 256;
constexpr int kColumns = 32;
constexpr uint8_t kUnshifted = 255; // scroll byte that shows a band as it is

enum class ShotStyle { FivePixels = 1, OnePixel = 2 };

// Addresses of the video RAM in the processor's memory image.
struct VideoLayout {
    uint16_t tileRam = 0;
    uint16_t attributeRam = 0;
    uint16_t spriteRam = 0;
    uint16_t shotRam = 0;
    ShotStyle shots = ShotStyle::FivePixels;
};
VideoLayout videoLayoutOf(GameId game);

// The background and what each cell and column was last drawn with.
struct BackgroundCache {
    std::array<uint8_t, kScreenSize * kScreenSize> pixels{}; // logical colours
    std::array<uint16_t, kColumns * kColumns> tiles{};       // tile number per cell (column-major)
    std::array<uint8_t, kColumns> colourRecord{};            // colour group per column
    BackgroundCache() { reset(); }
    // Every cell is drawn again at the next update.
    void reset();
};
// The running game's cache; reset at every board set-up.
BackgroundCache& backgroundCache();

struct VideoInputs {
    const uint8_t* memory = nullptr; // 64 KB image
    VideoLayout layout;
    uint8_t tileBank = 0;
    uint8_t spriteBank = 0;
    const GraphicsSheet* tiles = nullptr;
    const GraphicsSheet* sprites = nullptr;
};

// Draws the changed cells into the background; returns how many cells were drawn.
int updateBackground(BackgroundCache& cache, const VideoInputs& in, const ColourTables& colours);
// Copies every band to the screen with its scroll: 255 as it is, else shifted right by s with
// a full 256-pixel wrap (background x lands on screen x (x + s) mod 256).
void copyBands(ScreenSurface& screen, const BackgroundCache& cache, const uint8_t* attributeRam,
               const ColourTables& colours);
void drawShots(ScreenSurface& screen, const uint8_t* shotRam, ShotStyle style);
void drawSprites(ScreenSurface& screen, const VideoInputs& in, const ColourTables& colours);

// One frame: background, bands, shots, sprites.
void renderFrame(ScreenSurface& screen, BackgroundCache& cache, const VideoInputs& in, const ColourTables& colours);
// The running board's frame from its memory, banks and the graphics sheets.
void render(DisplayState& display, const ColourTables& colours, const Board& board);

} // namespace vortastr::scramble
