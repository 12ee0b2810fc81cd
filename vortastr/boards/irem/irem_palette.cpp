#include "boards/irem/irem_palette.h"

#include "boards/board.h"

namespace vortastr::irem {
namespace {

// One bank: compares the three planes with the records and converts only what changed.
void syncBank(int bank, const uint8_t* planes, DisplayState& display, ColourTables& colours)
{
    auto& records = paletteRecords().planes[bank];
    const uint8_t* red = planes;
    const uint8_t* green = planes + kPlaneStride;
    const uint8_t* blue = planes + 2 * kPlaneStride;
    selectPaletteBank(colours, bank);
    for (int i = 0; i < kPaletteColours; ++i) {
        const uint8_t r = componentOf(red[2 * i]);
        const uint8_t g = componentOf(green[2 * i]);
        const uint8_t b = componentOf(blue[2 * i]);
        if (r == records[0][i] && g == records[1][i] && b == records[2][i])
            continue;
        records[0][i] = r;
        records[1][i] = g;
        records[2][i] = b;
        paletteSetRgb(display, colours, i, r, g, b);
    }
}

} // namespace

uint32_t tilePaletteAddress(GameId game) { return game == RType2 || game == Kengo ? kTilePaletteLate : kTilePalette; }

PaletteRecords& paletteRecords()
{
    static PaletteRecords records;
    return records;
}

void fillPaletteRecords(uint8_t value)
{
    for (auto& bank : paletteRecords().planes)
        for (auto& plane : bank)
            plane.fill(value);
}

void syncPaletteRam(GameId game, DisplayState& display, ColourTables& colours, const uint8_t* memory)
{
    // The planes lie in the running board's 1 MB address space; any other block is not one.
    const Board& running = board();
    if (!memory || memory != running.data() || running.size() < kAddressSpace)
        return;
    syncBank(0, memory + tilePaletteAddress(game), display, colours);
    syncBank(1, memory + kSpritePalette, display, colours);
    selectPaletteBank(colours, 0);
}

} // namespace vortastr::irem
