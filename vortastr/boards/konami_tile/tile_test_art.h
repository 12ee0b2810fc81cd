#pragma once
// What the free test ROM sets of the tile-and-sprite boards show, as pen art and cell lists:
// the generator encodes it into graphics ROMs and tile RAM images, and the end-to-end tests
// compute the expected picture from the same art, independently of the loader's decoders.
#include <cstdint>
#include <string>
#include <vector>

namespace vortastr::testrom {

enum class TileBoard { TrackField, HyperSports, RockNRope, CircusCharlie };

// Tile numbers of the art: glyphs use their ASCII code; two patterns, one above tile 255 so
// the attribute's tile-bank bits are exercised.
constexpr int kBlankTile = 0;
constexpr int kPatternTile = 0x80;
constexpr int kHighPatternTile = 0x180;
constexpr int kSpriteCode = 1;

// Pen (0-15) of pixel (x, y) of a tile or sprite of the art; 0 for numbers it does not define.
int tileArtPen(int tile, int x, int y);
int spriteArtPen(int sprite, int x, int y);

// A tile as it should appear on the screen: cell position in 8-pixel units of the picture.
struct PlacedTile {
    int cellX = 0, cellY = 0;
    int tile = 0;
    bool flipX = false, flipY = false;
    int group = 0;
};

// The fixed part of the picture (title, flip and colour-group patterns) of a board's program.
std::vector<PlacedTile> fixedTiles(TileBoard board);
// The scrolling band (map cells of the background, not screen cells; none on Rock'n'Rope):
// cells (mapX, mapY) of the board's tile map in map order.
std::vector<PlacedTile> bandTiles(TileBoard board);

std::string titleOf(TileBoard board);

// Where a board keeps one map cell: byte offsets of the code and attribute bytes from the
// start of the tile RAM image (the lower of the two regions), and the attribute byte that
// gives a tile number, flips and group on that board.
struct CellBytes {
    std::size_t codeOffset = 0, attrOffset = 0;
    uint8_t code = 0, attr = 0;
};
// The cell at screen cell (cellX, cellY) of the unscrolled picture.
CellBytes screenCellBytes(TileBoard board, const PlacedTile& tile);
// The map cell (mapX, mapY) of a scrolling board (Track'n'Field, Hyper Sports: 64 x 32 map;
// Circus Charlie: the 32 x 32 map seen from the screen, mapX = screen column).
CellBytes mapCellBytes(TileBoard board, const PlacedTile& tile);

} // namespace vortastr::testrom
