#include "boards/konami_tile/tile_test_art.h"

#include <array>

namespace vortastr::testrom {
namespace {

// 5 x 7 glyphs, one byte per row, bit 4 the left pixel.
std::array<uint8_t, 7> glyph(int c)
{
    switch (c) {
    case 'A': return {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11};
    case 'B': return {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E};
    case 'C': return {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E};
    case 'D': return {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E};
    case 'E': return {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F};
    case 'F': return {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10};
    case 'H': return {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11};
    case 'I': return {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E};
    case 'J': return {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C};
    case 'K': return {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11};
    case 'L': return {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F};
    case 'N': return {0x11, 0x19, 0x15, 0x13, 0x11, 0x11, 0x11};
    case 'O': return {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E};
    case 'P': return {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10};
    case 'R': return {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11};
    case 'S': return {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E};
    case 'T': return {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04};
    case 'U': return {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E};
    case 'Y': return {0x11, 0x11, 0x0A, 0x04, 0x04, 0x04, 0x04};
    case '0': return {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E};
    case '1': return {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E};
    case '2': return {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F};
    case '3': return {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E};
    case '4': return {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02};
    case '5': return {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E};
    case '6': return {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E};
    case '7': return {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08};
    case '8': return {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E};
    case '9': return {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C};
    default: return {};
    }
}

void addText(std::vector<PlacedTile>& out, const std::string& text, int cellX, int cellY, int group)
{
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != ' ')
            out.push_back({cellX + int(i), cellY, static_cast<unsigned char>(text[i]), false, false, group});
}

// The first cell row of the fixed picture and the visible width in cells.
struct ScreenShape {
    int top;
    int columns;
};
ScreenShape shapeOf(TileBoard board)
{
    switch (board) {
    case TileBoard::RockNRope: return {2, 28};
    case TileBoard::CircusCharlie: return {1, 32};
    default: return {2, 32};
    }
}

} // namespace

int tileArtPen(int tile, int x, int y)
{
    if (tile == kPatternTile) // a bright corner block at the top left, stripes elsewhere
        return x < 3 && y < 3 ? 15 : 1 + (x + 2 * y) % 7;
    if (tile == kHighPatternTile)
        return x >= 5 && y < 2 ? 14 : 8 + (3 * x + y) % 6;
    if (tile > 0 && tile < 128) {
        const auto rows = glyph(tile);
        if (x < 1 || x > 5 || y > 6)
            return 0;
        return (rows[std::size_t(y)] >> (5 - x)) & 1 ? 1 + (y % 3 == 2 ? 1 : 0) : 0;
    }
    return 0;
}

int spriteArtPen(int sprite, int x, int y)
{
    if (sprite != kSpriteCode)
        return 0;
    if (x < 8 && y < 3) // marks the top-left corner, so a flip would show
        return 13;
    const int d = (2 * x - 15) * (2 * x - 15) + (2 * y - 15) * (2 * y - 15);
    return d < 196 ? 1 + (x + y) % 6 : 0;
}

std::string titleOf(TileBoard board)
{
    switch (board) {
    case TileBoard::TrackField: return "TRACK N FIELD";
    case TileBoard::HyperSports: return "HYPER SPORTS";
    case TileBoard::RockNRope: return "ROCK N ROPE";
    case TileBoard::CircusCharlie: return "CIRCUS CHARLIE";
    }
    return {};
}

std::vector<PlacedTile> fixedTiles(TileBoard board)
{
    const ScreenShape shape = shapeOf(board);
    std::vector<PlacedTile> out;
    const std::string title = titleOf(board);
    addText(out, title, (shape.columns - int(title.size())) / 2, shape.top, 1);
    addText(out, "TEST", (shape.columns - 4) / 2, shape.top + 2, 2);
    // Both patterns in the four flips, then the first in every colour group.
    const int flipRow = shape.top + 4;
    for (int f = 0; f < 4; ++f) {
        out.push_back({4 + f, flipRow, kPatternTile, (f & 1) != 0, (f & 2) != 0, 1});
        out.push_back({10 + f, flipRow, kHighPatternTile, (f & 1) != 0, (f & 2) != 0, 2});
    }
    for (int g = 0; g < 16 && 4 + g < shape.columns; ++g)
        out.push_back({4 + g, flipRow + 2, kPatternTile, false, false, g});
    return out;
}

std::vector<PlacedTile> bandTiles(TileBoard board)
{
    std::vector<PlacedTile> out;
    int columns = 0, firstRow = 0;
    switch (board) {
    case TileBoard::TrackField:
    case TileBoard::HyperSports: columns = 64, firstRow = 20; break;
    case TileBoard::CircusCharlie: columns = 32, firstRow = 14; break;
    case TileBoard::RockNRope: return out;
    }
    for (int row = firstRow; row < firstRow + 4; ++row)
        for (int col = 0; col < columns; ++col) {
            const bool digit = (row - firstRow) % 2 == 0;
            const int tile = digit ? '0' + col % 10 : (col % 4 == 0 ? kPatternTile : kBlankTile);
            out.push_back({col, row, tile, false, (col / 10) % 2 == 1, (col / 10) % 4});
        }
    return out;
}

namespace {

uint8_t attrByte(TileBoard board, const PlacedTile& t)
{
    const int high = t.tile >> 8;
    int m = t.group & 15;
    switch (board) {
    case TileBoard::TrackField: m |= (high & 3) << 6 | (t.flipX ? 0x10 : 0) | (t.flipY ? 0x20 : 0); break;
    case TileBoard::HyperSports:
        m |= (high & 1) << 7 | ((high >> 1) & 1) << 6 | (t.flipX ? 0x10 : 0) | (t.flipY ? 0x20 : 0);
        break;
    case TileBoard::RockNRope: m |= (high & 1) << 7 | (t.flipX ? 0x20 : 0) | (t.flipY ? 0x40 : 0); break;
    case TileBoard::CircusCharlie: m |= (high & 1) << 5 | (t.flipX ? 0x80 : 0) | (t.flipY ? 0x40 : 0); break;
    }
    return static_cast<uint8_t>(m);
}

// Code offset of map cell (x, y) from the code region; the attribute region's distance.
CellBytes cellAt(TileBoard board, int codeOffsetInMap, const PlacedTile& t)
{
    CellBytes c;
    c.code = static_cast<uint8_t>(t.tile & 0xFF);
    c.attr = attrByte(board, t);
    switch (board) {
    case TileBoard::TrackField:
    case TileBoard::HyperSports: // codes first, attributes 0x800 above
        c.codeOffset = std::size_t(codeOffsetInMap);
        c.attrOffset = c.codeOffset + 0x800;
        break;
    default: // attributes first, codes 0x400 above
        c.attrOffset = std::size_t(codeOffsetInMap);
        c.codeOffset = c.attrOffset + 0x400;
        break;
    }
    return c;
}

} // namespace

CellBytes screenCellBytes(TileBoard board, const PlacedTile& t)
{
    switch (board) {
    case TileBoard::TrackField:
    case TileBoard::HyperSports: return cellAt(board, (t.cellY + 2) * 64 + t.cellX, t);
    case TileBoard::RockNRope: return cellAt(board, 64 + (31 - t.cellX) + 32 * t.cellY, t);
    case TileBoard::CircusCharlie: return cellAt(board, t.cellY + 32 * (31 - t.cellX), t);
    }
    return {};
}

CellBytes mapCellBytes(TileBoard board, const PlacedTile& t)
{
    switch (board) {
    case TileBoard::TrackField:
    case TileBoard::HyperSports: return cellAt(board, t.cellY * 64 + t.cellX, t);
    default: return screenCellBytes(board, t);
    }
}

} // namespace vortastr::testrom
