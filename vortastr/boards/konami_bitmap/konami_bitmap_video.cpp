#include "boards/konami_bitmap/konami_bitmap_video.h"

#include "boards/konami_bitmap/konami_bitmap_board.h"
#include "video/game_palette.h"
#include "video/pixel_writer.h"

namespace vortastr::konamiBitmap {
namespace {

constexpr int kBitmapSize = 256;
constexpr int kLineBytes = 128;
constexpr int kScrolledBytes = 96; // Tutankham: the playfield part of each line
constexpr int kTutankhamFixedEntries = 15;

// A byte of video RAM: low nibble at (x, y), high nibble at (x, y - 1).
void putPair(PixelWriter& out, int x, int y, uint8_t byte)
{
    out.put(x, y, byte & 15);
    out.put(x, y - 1, byte >> 4);
}

RgbEntry decodeForGame(GameId, uint8_t byte) { return decodeColourByte(byte); }

} // namespace

void renderVortaStrike(ScreenSurface& screen, const ColourTables& colours, const uint8_t* videoRam)
{
    if (!videoRam || screen.empty())
        return;
    PixelWriter out(screen, colours, kBitmapSize, kBitmapSize);
    for (int line = 0; line < kBitmapSize; ++line) {
        const uint8_t* bytes = videoRam + line * kLineBytes;
        for (int k = 0; k < kLineBytes; ++k)
            putPair(out, line, 255 - 2 * k, bytes[k]);
    }
}

void renderTutankham(ScreenSurface& screen, const ColourTables& colours, const uint8_t* videoRam, uint8_t scroll)
{
    if (!videoRam || screen.empty())
        return;
    PixelWriter out(screen, colours, kBitmapSize, kBitmapSize);
    for (int line = 0; line < kBitmapSize; ++line) {
        const uint8_t* bytes = videoRam + line * kLineBytes;
        const int column = (line - scroll - 1) & 0xFF;
        for (int k = 0; k < kScrolledBytes; ++k)
            putPair(out, column, 255 - 2 * k, bytes[k]);
        for (int m = 0; m < kLineBytes - kScrolledBytes; ++m)
            putPair(out, line, 63 - 2 * m, bytes[kScrolledBytes + m]);
    }
}

void render(DisplayState& display, const ColourTables& colours, const Board& board)
{
    if (board.game == Tutankham)
        renderTutankham(display.screen, colours, board.data(), board.family.konamiBitmap.scroll);
    else
        renderVortaStrike(display.screen, colours, board.data());
}

PaletteRecords& paletteRecords()
{
    static PaletteRecords records;
    return records;
}

void syncPaletteRam(GameId game, DisplayState& display, ColourTables& colours, const uint8_t* memory,
                    bool paletteCycling)
{
    if (!memory)
        return;
    const bool tutankham = game == Tutankham;
    const bool everyEntry = !display.paletted || paletteCycling;
    const int count = everyEntry ? 16 : (tutankham ? kTutankhamFixedEntries : 1);
    auto& record = tutankham ? paletteRecords().tutankham : paletteRecords().vortaStrike;
    const uint8_t* ram = memory + kPaletteRam;
    for (int i = 0; i < count; ++i) {
        const auto e = std::size_t(i);
        if (ram[e] == record[e])
            continue;
        paletteSetFromByte(display, colours, game, i, ram[e], decodeForGame);
        record[e] = ram[e];
    }
}

} // namespace vortastr::konamiBitmap
