#pragma once
// The Irem renderers: two tile layers of 64 x 64 cells drawn into one background (the second
// layer into rows 0-511, the first into rows 512-1023), copied to the screen with their scroll
// values, and 128 multi-part sprites. Per-game rules are gathered in VideoRules.
#include "boards/irem/irem_board.h"
#include "boards/irem/irem_draw.h"
#include "video/display_state.h"

#include <cstdint>
#include <vector>

namespace vortastr::irem {

constexpr uint32_t kSpriteRam = 0xC0000;
constexpr int kSpriteEntries = 128;
constexpr int kLayerCells = 64;    // a layer is 64 x 64 cells of 4 bytes
constexpr int kLayerPixels = 512;  // and 512 x 512 pixels
constexpr int kVisibleLines = 240; // lines of scrolled layers; 16 fixed lines follow
constexpr int kFixedLines = 16;

// How a game's board draws.
enum class SpriteOrder { BetweenLayers, AfterLayers, None };
enum class Bands { Whole, SecondLayerHalves, FirstLayerHalves };
struct VideoRules {
    uint32_t firstLayer = 0xD0000;  // drawn into background rows 512-1023
    uint32_t secondLayer = 0xD8000; // drawn into rows 0-511
    bool wideCodes = false;         // 15-bit tile numbers, flips in the attribute word
    int secondTileOffset = 4096;
    int backgroundLines = 1024;
    SpriteOrder sprites = SpriteOrder::BetweenLayers;
    int spriteXOffset = 256;
    bool powerOfTwoParts = false; // parts high = 1 << bits 12-13 of w2
    Bands bands = Bands::Whole;
    bool secondLayerOnLowPorts = false; // the second layer scrolls by ports 0x80-0x83
};
VideoRules videoRules(GameId game);

// The background and its tile caches (one code and one attribute word per cell).
struct IremVideo {
    GameId game = NoGame;
    Background background;
    std::vector<uint16_t> codeCache;
    std::vector<uint16_t> attrCache;
};
IremVideo& iremVideo();

// At game start: a background of 512 x the game's map height cleared to 0, caches filled so
// every cell is drawn (codes 0xFFFF, attributes 0), palette records 0xFF then 0xFC.
void resetIremVideo(GameId game);
// Redraws the cells of both layers whose code or attribute word changed.
void updateBackground(IremVideo& video, const VideoRules& rules, const uint8_t* memory, const GraphicsSheet& tiles,
                      const ColourTables& colours);

// Scroll of one layer in background pixels.
struct LayerScroll {
    int x = 0, y = 0;
};
// From a y word and an x word: y = (word + 128) mod 512, x = word mod 512.
LayerScroll layerScroll(uint16_t yWord, uint16_t xWord);
LayerScroll portScroll(const IremState& state, uint16_t yPort);

// Screen lines [top, top + lines) of a layer whose region starts at background row
// `regionTop`: screen (sx, sy) shows ((sx + x) mod 512, regionTop + (sy + y) mod 512), copied
// as up to four rectangles split where x or y wraps.
// Tiles use palette bank 0.
void copyLayerBand(ScreenSurface& screen, const Background& background, int regionTop, LayerScroll scroll, int top,
                   int lines, int flags, const ColourTables& colours, const ClipWindow& clip);

// The sprite list, in order, in palette bank 1; entries with w3 = 0 or w1 >= 4096 are skipped.
void drawSprites(ScreenSurface& screen, const VideoRules& rules, const uint8_t* memory, const GraphicsSheet& sprites,
                 const ColourTables& colours, const ClipWindow& clip);

// One whole frame of the running Irem game.
struct IremFrame {
    GameId game = NoGame;
    const uint8_t* memory = nullptr; // the 1 MB address space
    std::size_t memorySize = 0;
    const IremState* state = nullptr;
    const GraphicsSheet* tiles = nullptr;
    const GraphicsSheet* sprites = nullptr;
    int originX = 0, originY = 0; // -56, 22 in the 400 x 300 full-screen mode
};
void renderIremFrame(ScreenSurface& screen, const ColourTables& colours, const IremFrame& frame);

// The running board's picture on the display's screen, from the graphics sheets; in the
// 400 x 300 full-screen mode the picture moves by (-56, 22).
void render(DisplayState& display, const ColourTables& colours, const Board& board);

} // namespace vortastr::irem
