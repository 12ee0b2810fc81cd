#include "boards/konami_tile/iron_horse_jail_break_video.h"

#include "boards/konami_tile/iron_horse_jail_break_board.h"
#include "video/graphics_sheet.h"

namespace vortastr::konamiTile {
namespace {

constexpr int kIronHorseSprites = 51;
constexpr int kIronHorseSpriteBytes = 5;
constexpr int kJailBreakSprites = 64;

bool bit(uint8_t value, int n) { return (value >> n) & 1; }

int flips(bool x, bool y) { return (x ? DRAW_FLIP_X : 0) | (y ? DRAW_FLIP_Y : 0); }

struct Frame {
    GameId game;
    const uint8_t* memory;
    DrawSurface screen;
    SheetView tiles, sprites;
    const ColourTables& colours;
    TileVideo& video;

    const uint8_t* tileRam() const { return memory + video.layout.tileRamOffset; }
    void cell(std::size_t index, uint16_t code, uint16_t attr, int x, int y, int tile, int flipFlags, int group)
    {
        if (cellChanged(video.background, index, code, attr))
            drawTile(video.background, x, y, tiles, tile, flipFlags, group, colours, video.layout);
    }
    void sprite(int x, int y, int code, int flipFlags, int group)
    {
        drawSprite(screen, x, y, sprites, code, flipFlags | DRAW_CLIP_SURFACE, group, colours, video.layout);
    }
};

// 32 x 32 cells, attribute 0x400 below the code; the tile bank of the control latch is part of
// what a cell was drawn with, so a change of bank redraws every cell.
void ironHorseTiles(Frame& f)
{
    const uint8_t* ram = f.tileRam();
    const int bank = f.memory[ironHorsePort::kControl] & ironHorsePort::kTileBankBit;
    for (int row = 0; row < 32; ++row)
        for (int col = 0; col < 32; ++col) {
            const std::size_t at = std::size_t(row * 32 + col);
            const uint8_t c = ram[at], m = ram[std::ptrdiff_t(at) - 0x400];
            const int tile = c + 256 * ((m >> 6) & 1) + 512 * ((m >> 5) & 1) + 1024 * bank;
            f.cell(at, c, uint16_t(m | bank << 8), 8 * col, 8 * row, tile, flips(false, bit(m, 5)), m & 15);
        }
}

// 64 x 32 cells, attribute 0x800 below the code.
void jailBreakTiles(Frame& f)
{
    const uint8_t* ram = f.tileRam();
    for (int row = 0; row < 32; ++row)
        for (int col = 0; col < 64; ++col) {
            const std::size_t at = std::size_t(row * 64 + col);
            const uint8_t c = ram[at], m = ram[std::ptrdiff_t(at) - 0x800];
            f.cell(at, c, m, 8 * col, 8 * row, c + 256 * (m >> 6), flips(bit(m, 4), bit(m, 5)), m & 15);
        }
}

// 32 rows of 8 lines, each scrolled left by its own value with wrap-around; rows with equal
// values are copied as one band. Iron Horse shows a row of value 255 unscrolled.
template <typename RowScroll>
void rowScrollCopy(Frame& f, RowScroll scrollOf)
{
    int row = 0;
    while (row < 32) {
        const int scroll = scrollOf(row);
        int last = row;
        while (last < 31 && scrollOf(last + 1) == scroll)
            ++last;
        copyScrolledBand(f.screen, f.video.background, 8 * row, 8 * row, 8 * (last - row + 1), scroll, 256, f.colours,
                         f.video.layout);
        row = last + 1;
    }
}

void ironHorseSprites(Frame& f)
{
    const bool selected = f.memory[ironHorsePort::kControl] & ironHorsePort::kSpriteSelectBit;
    const uint8_t* ram = f.memory + (selected ? ironHorsePort::kSpritesSelected : ironHorsePort::kSpritesOther);
    for (int k = kIronHorseSprites - 1; k >= 0; --k) {
        const uint8_t* e = ram + kIronHorseSpriteBytes * k;
        const uint8_t y = e[2], x = e[3], attr = e[4];
        if (x == 0 || y <= 16)
            continue;
        f.sprite(x, y, e[0] + 256 * (e[1] & 1), flips(bit(attr, 5), bit(attr, 6)), attr & 15);
    }
}

void jailBreakSprites(Frame& f)
{
    const uint8_t* ram = f.video.layout.spriteRam;
    for (int k = 0; k < kJailBreakSprites; ++k) {
        const uint8_t* e = ram + 4 * k;
        const uint8_t attr = e[1], x = e[2], y = e[3];
        if (x == 0 || y <= 16)
            continue;
        f.sprite(x, y, e[0] + 256 * ((attr >> 6) & 1), flips(bit(attr, 4), bit(attr, 5)), attr & 15);
    }
}

struct Places {
    uint32_t tiles, scroll, sprites;
    int mapWidth;
};

Places placesOf(GameId game)
{
    if (game == IronHorse)
        return {ironHorsePort::kVideoRam, ironHorsePort::kScroll, ironHorsePort::kSpritesSelected, 256};
    return {jailBreakPort::kVideoRam, jailBreakPort::kScroll, jailBreakPort::kSprites, 512};
}

// True when the video is set up for this game on this memory image.
bool videoIsFor(const TileVideo& video, GameId game, const uint8_t* memory)
{
    const Places p = placesOf(game);
    return video.layout.tileRamOffset == p.tiles && video.layout.spriteRam == memory + p.sprites &&
           video.layout.scrollRam == memory + p.scroll && video.background.width == p.mapWidth;
}

} // namespace

bool setUpHorseBreakVideo(GameId game, const uint8_t* memory, TileVideo& video)
{
    const Places p = placesOf(game);
    VideoLayout& layout = video.layout;
    layout = VideoLayout{};
    layout.tileRamOffset = p.tiles;
    layout.scrollRam = memory ? memory + p.scroll : nullptr;
    layout.spriteRam = memory ? memory + p.sprites : nullptr;
    layout.screenCols = 32;
    layout.screenRows = 32;
    return createBackground(video, p.mapWidth, 256);
}

void renderHorseBreak(DisplayState& display, const ColourTables& colours, const Board& board)
{
    TileVideo& video = tileVideo();
    const uint8_t* memory = board.data();
    if (display.suspended || !memory || display.screen.empty() || board.size() < 0x10000)
        return;
    // Video set up for another board is set up again for this one, so nothing is read through
    // pointers into memory that is gone.
    if (!videoIsFor(video, board.game, memory) && !setUpHorseBreakVideo(board.game, memory, video))
        return;
    if (video.background.empty())
        return;
    video.layout.setClipWindow(0, 0, 0, 0);
    const GraphicsSheets& sheets = graphicsSheets();
    Frame f{board.game,
            memory,
            describeSurface(display.screen),
            viewOf(sheets.tileSheet.get()),
            viewOf(sheets.spriteSheet.get()),
            colours,
            video};
    const uint8_t* s = video.layout.scrollRam;
    if (board.game == IronHorse) {
        ironHorseTiles(f);
        rowScrollCopy(f, [s](int r) { return s[r] == 255 ? 0 : s[r]; });
        ironHorseSprites(f);
    } else {
        jailBreakTiles(f);
        rowScrollCopy(f, [s](int r) { return s[r] | (s[r + 32] & 1) << 8; });
        jailBreakSprites(f);
    }
}

} // namespace vortastr::konamiTile
