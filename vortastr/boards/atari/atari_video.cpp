#include "boards/atari/atari_video.h"

#include "boards/atari/crystal_castles_board.h"
#include "boards/atari/tunnel_hunt_board.h"
#include "video/pixel_writer.h"

#include <cstring>

namespace vortastr::atari {
namespace {

constexpr int kScreenSize = 256;
constexpr int kLineBytes = 128;

void clearLines(ScreenSurface& screen, int first, int last)
{
    const int bytes = std::min(kScreenSize, screen.width()) * screen.bytesPerPixel();
    for (int y = first; y <= last && y < screen.height(); ++y)
        std::memset(screen.pixels() + std::size_t(y) * std::size_t(screen.pitch()), 0, std::size_t(bytes));
}

// Pen 0 is transparent; the sheet's pixels outside it are left out.
void drawSprite(PixelWriter& out, const GraphicsSheet& sheet, int code, int left, int top)
{
    const int sheetX = (code & 15) * kSpriteWidth;
    const int sheetY = (code >> 4) * kSpriteHeight;
    for (int row = 0; row < kSpriteHeight; ++row) {
        if (sheetY + row >= sheet.lines())
            return;
        const uint8_t* pens = sheet.line(sheetY + row) + sheetX;
        for (int column = 0; column < kSpriteWidth; ++column)
            if (pens[column])
                out.put(left + column, top + row, pens[column]);
    }
}

} // namespace

void renderCrystalCastles(ScreenSurface& screen, const ColourTables& colours, const uint8_t* memory,
                          const uint8_t* sprites, const GraphicsSheet* sheet)
{
    if (!memory || screen.empty())
        return;
    clearLines(screen, 0, kCastlesTopLines - 1);
    clearLines(screen, kCastlesTopLines + kCastlesLines, kScreenSize - 1);
    PixelWriter out(screen, colours, kScreenSize, kScreenSize);
    const uint8_t* bitmap = memory + kBitmapStart;
    for (int line = 0; line < kCastlesLines; ++line) {
        const uint8_t* bytes = bitmap + line * kLineBytes;
        const int y = kCastlesTopLines + line;
        for (int k = 0; k < kLineBytes; ++k) {
            out.put(2 * k, y, bytes[k] & 15);
            out.put(2 * k + 1, y, bytes[k] >> 4);
        }
    }
    if (!sprites || !sheet || sheet->pixels.empty())
        return;
    for (int i = 0; i < kSpriteEntries; ++i) {
        const uint8_t* entry = sprites + 4 * i;
        const uint8_t code = entry[0], y = entry[1], x = entry[3];
        if (code != 0 && (x != 0 || y != 0))
            drawSprite(out, *sheet, code, x, kSpriteBase - y);
    }
}

void renderTunnelHunt(ScreenSurface& screen, const PixelLayout& layout, const uint8_t* memory)
{
    if (!memory || screen.empty())
        return;
    const bool wide = screen.format() != PixelFormat::Indexed8;
    const uint16_t white = colour16Of(255, 255, 255, layout);
    const int rows = std::min(kScreenSize, screen.height());
    const int columns = std::min(kTunnelColumns, screen.width());
    for (int column = 0; column < columns; ++column) {
        const uint8_t* bytes = memory + kTunnelBitmapStart + column * kTunnelColumnBytes;
        for (int m = 0; m < kTunnelColumnBytes; ++m) {
            for (int n = 0; n < 8; ++n) {
                const int row = 255 - 8 * m - n;
                if (row >= rows)
                    continue;
                const bool lit = bytes[m] >> n & 1;
                uint8_t* at = screen.pixels() + std::size_t(row) * std::size_t(screen.pitch());
                if (wide) {
                    const uint16_t value = lit ? white : 0;
                    std::memcpy(at + 2 * column, &value, 2);
                } else {
                    at[column] = lit ? 0xFF : 0;
                }
            }
        }
    }
}

void render(DisplayState& display, const ColourTables& colours, const Board& board)
{
    if (board.game == TunnelHunt) {
        renderTunnelHunt(display.screen, display.pixelFormat, board.data());
        return;
    }
    const uint8_t* memory = board.data();
    renderCrystalCastles(display.screen, colours, memory, memory + spriteBuffer(board.family.atari),
                         graphicsSheets().spriteSheet.get());
}

} // namespace vortastr::atari
