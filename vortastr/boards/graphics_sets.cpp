#include "boards/graphics_sets.h"

#include "boards/graphics_decode.h"
#include "boards/rom_files.h"
#include "boards/rom_sets.h"
#include "video/graphics_sheet.h"

namespace vortastr {
namespace {

using Decoder = std::optional<std::vector<uint8_t>> (*)(GameId, const RomList&, uint32_t, int);

int loadSet(GameId game, const GraphicsSet& set, std::unique_ptr<GraphicsSheet>& sheet, Decoder decode)
{
    sheet = createSheet(set.sheetUnits);
    if (!sheet)
        return -1;
    const bool fallback = !set.fallbackProbe.empty() && !openRomSilently(set.fallbackProbe);
    for (const DecodeStep& step : fallback ? set.fallbackSteps : set.steps) {
        auto image = decode(game, step.files, step.fileSize, step.blocks);
        if (!image)
            return -1;
        for (int line : step.firstLines)
            fillSheet(*sheet, image->data(), step.blocks, line);
    }
    return 0;
}

} // namespace

int loadCharacterSet(GameId game)
{
    return loadSet(game, characterSet(game), graphicsSheets().tileSheet, decodeCharacters);
}

int loadSpriteSet(GameId game) { return loadSet(game, spriteSet(game), graphicsSheets().spriteSheet, decodeSprites); }

} // namespace vortastr
