#pragma once
// Pictures of the Konami tile-and-sprite boards: each game's tile routine (which cells, which
// tile, flips and colour group), scroll copy and sprite routine over the shared pipeline of
// video/tile_pipeline.h. A board without a routine here draws nothing of its own yet.
#include "boards/board.h"
#include "video/display_state.h"
#include "video/tile_pipeline.h"

#include <cstdint>

namespace vortastr::konamiTile {

// Map sizes in pixels of the background each game draws its tiles into.
struct TileMapSize {
    int width = 256, height = 256;
};
TileMapSize mapSize(GameId game);

// Tile RAM, scroll RAM and sprite RAM of the game in the memory image, the visible cells, and a
// new background of the game's map size. False when the background cannot be had.
bool setUpVideo(GameId game, const uint8_t* memory, TileVideo& video);

// What a frame of a tile-and-sprite board draws with.
struct TileFrame {
    GameId game = NoGame;
    const uint8_t* memory = nullptr; // main processor's memory image
    DrawSurface screen;              // the locked screen surface
    SheetView tiles, sprites;
    const ColourTables* colours = nullptr;
    TileVideo* video = nullptr;
};

// The board's tile routine: redraws the changed cells into the background.
void updateBackground(const TileFrame& frame);
// The background to the screen: the board's scroll copy, or the visible area from the origin.
void copyBackground(const TileFrame& frame);
// The board's sprites onto the screen.
void drawSprites(const TileFrame& frame);

// renderFrame for these boards: clip window reset, tiles, background copy, sprites.
void render(DisplayState& display, const ColourTables& colours, const Board& board);

} // namespace vortastr::konamiTile
