#include "boards/irem/irem_video.h"

#include "boards/irem/irem_palette.h"
#include "video/graphics_sheet.h"

#include <algorithm>

namespace vortastr::irem {
namespace {

constexpr int kLayerWindowLeft = 64;
constexpr int kWindowRightMargin = 72;  // window right = screen width - 72
constexpr int kSpriteBottomMargin = 16; // sprite window bottom = screen height - 16
constexpr int kSpriteCodes = 4096;
constexpr int kSpriteColumnStep = 8; // the right column of a two-wide sprite is 8 codes on
constexpr int kTileBank = 0, kSpriteBank = 1;

uint16_t word(const uint8_t* memory, uint32_t address)
{
    return static_cast<uint16_t>(memory[address] | memory[address + 1] << 8);
}

void drawLayer(IremVideo& video, const VideoRules& rules, const uint8_t* memory, uint32_t ram, int regionTop,
               int tileOffset, const GraphicsSheet& tiles, const ColourTables& colours)
{
    const int firstCell = regionTop / 8 * kLayerCells;
    for (int row = 0; row < kLayerCells; ++row) {
        for (int col = 0; col < kLayerCells; ++col) {
            const uint32_t at = ram + 4u * uint32_t(row * kLayerCells + col);
            const uint16_t code = word(memory, at);
            const uint16_t attr = word(memory, at + 2);
            const std::size_t cell = std::size_t(firstCell + row * kLayerCells + col);
            if (video.codeCache[cell] == code && video.attrCache[cell] == attr)
                continue;
            video.codeCache[cell] = code;
            video.attrCache[cell] = attr;
            int flags = 0;
            int tile = 0;
            if (rules.wideCodes) {
                tile = code & 0x7FFF;
                flags = ((attr & 0x20) ? DrawFlipX : 0) | ((attr & 0x40) ? DrawFlipY : 0);
            } else {
                tile = (code & 0x3FFF) + tileOffset;
                flags = ((code & 0x4000) ? DrawFlipX : 0) | ((code & 0x8000) ? DrawFlipY : 0);
            }
            drawTile(video.background, col * 8, regionTop + row * 8, tiles, tile, flags, attr & 15, colours);
        }
    }
}

} // namespace

VideoRules videoRules(GameId game)
{
    VideoRules rules;
    switch (game) {
    case RTypeJapanese:
    case RType:
    case DragonBreed: break;
    case HeroTonma:
        // The same board generation as RType (the family's notes give one layout for it): its
        // layers sit where RType's do. The raster interrupt splits the first layer's scroll
        // into two bands; the map is 256 cells high, of which the layers use the first 128.
        rules.backgroundLines = 2048;
        rules.bands = Bands::FirstLayerHalves;
        break;
    case RType2:
    case Kengo:
        rules.firstLayer = game == Kengo ? 0xAC000 : 0xD0000;
        rules.secondLayer = rules.firstLayer + 0x4000;
        rules.wideCodes = true;
        rules.secondTileOffset = 0;
        rules.sprites = SpriteOrder::AfterLayers;
        rules.spriteXOffset = 260;
        rules.powerOfTwoParts = true;
        rules.bands = Bands::SecondLayerHalves;
        rules.secondLayerOnLowPorts = true;
        break;
    default:
        // RType Leo, MasterT, In The Hunt and game 38: the nearest given rule, RType II's
        // layers without the raster split; only MasterT draws sprites.
        rules.secondLayer = rules.firstLayer + 0x4000;
        rules.wideCodes = true;
        rules.secondTileOffset = 0;
        rules.sprites = game == MasterT ? SpriteOrder::AfterLayers : SpriteOrder::None;
        rules.spriteXOffset = 260;
        rules.powerOfTwoParts = true;
        break;
    }
    return rules;
}

IremVideo& iremVideo()
{
    static IremVideo video;
    return video;
}

void resetIremVideo(GameId game)
{
    IremVideo& video = iremVideo();
    const VideoRules rules = videoRules(game);
    video.game = game;
    fillPaletteRecords(0xFF);
    video.background.width = kLayerPixels;
    video.background.height = rules.backgroundLines;
    video.background.pixels.assign(std::size_t(kLayerPixels) * std::size_t(rules.backgroundLines), 0);
    const std::size_t cells = std::size_t(kLayerCells) * std::size_t(rules.backgroundLines / 8);
    video.codeCache.assign(cells, 0xFFFF);
    video.attrCache.assign(cells, 0);
    fillPaletteRecords(0xFC);
}

void updateBackground(IremVideo& video, const VideoRules& rules, const uint8_t* memory, const GraphicsSheet& tiles,
                      const ColourTables& colours)
{
    if (video.background.height < 2 * kLayerPixels)
        return;
    drawLayer(video, rules, memory, rules.firstLayer, kLayerPixels, 0, tiles, colours);
    drawLayer(video, rules, memory, rules.secondLayer, 0, rules.secondTileOffset, tiles, colours);
}

LayerScroll layerScroll(uint16_t yWord, uint16_t xWord) { return {xWord % kLayerPixels, (yWord + 128) % kLayerPixels}; }

LayerScroll portScroll(const IremState& state, uint16_t yPort)
{
    const auto wordAt = [&](uint16_t port) {
        return static_cast<uint16_t>((state.ports[port + 1u] & 1) << 8 | (state.ports[port] & 0xFF));
    };
    return layerScroll(wordAt(yPort), wordAt(static_cast<uint16_t>(yPort + 2)));
}

void copyLayerBand(ScreenSurface& screen, const Background& background, int regionTop, LayerScroll scroll, int top,
                   int lines, int flags, const ColourTables& colours, const ClipWindow& clip)
{
    const auto copyRows = [&](int screenY, int sourceY, int count) {
        if (count <= 0)
            return;
        const int y = regionTop + sourceY;
        if (scroll.x == 0) {
            copyRegion(screen, 0, screenY, background, 0, y, kLayerPixels, count, flags, colours, kTileBank, clip);
            return;
        }
        copyRegion(screen, 0, screenY, background, scroll.x, y, kLayerPixels - scroll.x, count, flags, colours,
                   kTileBank, clip);
        copyRegion(screen, kLayerPixels - scroll.x, screenY, background, 0, y, scroll.x, count, flags, colours,
                   kTileBank, clip);
    };
    const int sourceY = (top + scroll.y) % kLayerPixels;
    const int first = std::min(lines, kLayerPixels - sourceY);
    copyRows(top, sourceY, first);
    copyRows(top + first, 0, lines - first);
}

void drawSprites(ScreenSurface& screen, const VideoRules& rules, const uint8_t* memory, const GraphicsSheet& sprites,
                 const ColourTables& colours, const ClipWindow& clip)
{
    for (int entry = 0; entry < kSpriteEntries; ++entry) {
        const uint32_t at = kSpriteRam + 8u * uint32_t(entry);
        const uint16_t w0 = word(memory, at), w1 = word(memory, at + 2);
        const uint16_t w2 = word(memory, at + 4), w3 = word(memory, at + 6);
        if (w3 == 0 || w1 >= kSpriteCodes)
            continue;
        const int x = w3 - rules.spriteXOffset;
        // RType II's parts high: bits 12 and 13 read as one field, 1, 2, 4 or 8 parts (the
        // power-of-two height field this family's sprite chips use). RType I: one or two parts,
        // plus three with bit 13.
        const int parts =
            rules.powerOfTwoParts ? 1 << ((w2 >> 12) & 3) : ((w2 & 0x1000) ? 2 : 1) + ((w2 & 0x2000) ? 3 : 0);
        const int topY = 384 - (w0 & 0x1FF) - 16 * parts;
        const bool flipX = w2 & 0x0800, flipY = w2 & 0x0400;
        const int flags = DrawTransparent | DrawClipWindow | (flipX ? DrawFlipX : 0) | (flipY ? DrawFlipY : 0);
        const int group = w2 & 15;
        const int step = flipY ? -1 : 1;
        int code = (w1 & 0xFFF) + (flipY ? parts - 1 : 0);
        for (int k = 0; k < parts; ++k, code += step) {
            const int y = topY + 16 * k;
            if (!(w2 & 0x4000)) {
                drawSprite(screen, x, y, sprites, code, flags, group, colours, kSpriteBank, clip);
            } else if (flipX) {
                drawSprite(screen, x + 16, y, sprites, code, flags, group, colours, kSpriteBank, clip);
                drawSprite(screen, x, y, sprites, code + kSpriteColumnStep, flags, group, colours, kSpriteBank, clip);
            } else {
                drawSprite(screen, x, y, sprites, code, flags, group, colours, kSpriteBank, clip);
                drawSprite(screen, x + 16, y, sprites, code + kSpriteColumnStep, flags, group, colours, kSpriteBank,
                           clip);
            }
        }
    }
}

void renderIremFrame(ScreenSurface& screen, const ColourTables& colours, const IremFrame& frame)
{
    IremVideo& video = iremVideo();
    if (!frame.memory || frame.memorySize < kAddressSpace || !frame.state || !frame.tiles || !frame.sprites ||
        video.game != frame.game)
        return;
    const VideoRules rules = videoRules(frame.game);
    const IremScreen size = iremScreen(frame.game);
    const int width = 8 * size.tileColumns, height = 8 * size.tileRows;
    const ClipWindow layerClip{kLayerWindowLeft, 0, width - kWindowRightMargin, height, frame.originX, frame.originY};
    ClipWindow spriteClip = layerClip;
    spriteClip.bottom = height - kSpriteBottomMargin;

    updateBackground(video, rules, frame.memory, *frame.tiles, colours);
    const IremState& state = *frame.state;
    const uint16_t secondPorts = rules.secondLayerOnLowPorts ? kPortScrollFirstY : kPortScrollSecondY;
    const uint16_t firstPorts = rules.secondLayerOnLowPorts ? kPortScrollSecondY : kPortScrollFirstY;
    const LayerScroll latched = layerScroll(state.scrollWords[0], state.scrollWords[1]);
    const int half = kVisibleLines / 2;
    const int opaque = DrawClipWindow;
    const int transparent = DrawClipWindow | DrawTransparent;
    const Background& bg = video.background;

    // The second layer, opaque; on RType II the raster interrupt splits it into two bands of
    // 120 lines, the upper one with the scroll latched at the first slice.
    if (rules.bands == Bands::SecondLayerHalves) {
        copyLayerBand(screen, bg, 0, latched, 0, half, opaque, colours, layerClip);
        copyLayerBand(screen, bg, 0, portScroll(state, secondPorts), half, half, opaque, colours, layerClip);
    } else {
        copyLayerBand(screen, bg, 0, portScroll(state, secondPorts), 0, kVisibleLines, opaque, colours, layerClip);
    }
    if (rules.sprites == SpriteOrder::BetweenLayers) {
        drawSprites(screen, rules, frame.memory, *frame.sprites, colours, spriteClip);
    }
    if (rules.bands == Bands::FirstLayerHalves) {
        copyLayerBand(screen, bg, kLayerPixels, latched, 0, half, transparent, colours, layerClip);
        copyLayerBand(screen, bg, kLayerPixels, portScroll(state, firstPorts), half, half, transparent, colours,
                      layerClip);
    } else {
        copyLayerBand(screen, bg, kLayerPixels, portScroll(state, firstPorts), 0, kVisibleLines, transparent, colours,
                      layerClip);
    }
    // The fixed lines under the scrolled area: the top of the first layer's region, unscrolled.
    copyRegion(screen, 0, kVisibleLines, bg, 0, kLayerPixels, kLayerPixels, kFixedLines, opaque, colours, kTileBank,
               layerClip);
    if (rules.sprites == SpriteOrder::AfterLayers) {
        drawSprites(screen, rules, frame.memory, *frame.sprites, colours, spriteClip);
    }
}

void render(DisplayState& display, const ColourTables& colours, const Board& board)
{
    const GraphicsSheets& sheets = graphicsSheets();
    IremFrame frame{board.game,
                    board.data(),
                    board.size(),
                    &board.family.iremV30,
                    sheets.tileSheet.get(),
                    sheets.spriteSheet.get(),
                    0,
                    0};
    if (display.fullScreen && display.mode400x300) {
        frame.originX = -56;
        frame.originY = 22;
    }
    if (iremVideo().game != board.game)
        resetIremVideo(board.game);
    renderIremFrame(display.screen, colours, frame);
}

} // namespace vortastr::irem
