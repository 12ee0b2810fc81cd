#include "tests/tile_art_expect.h"

#include "video/game_palette.h"

#include <gtest/gtest.h>

namespace vortastr::test {

uint16_t artColour(const Emulator& emu, GameId game, int group, int pen)
{
    return emu.colours.colour16[0][colourLookupOf(game)[std::size_t(group * 64 + pen)]];
}

void expectArtTile(const Emulator& emu, GameId game, const testrom::PlacedTile& t, int screenX, int screenY,
                   const char* what)
{
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const int pen = testrom::tileArtPen(t.tile, t.flipX ? 7 - x : x, t.flipY ? 7 - y : y);
            ASSERT_EQ(pixel16(emu.display.presented, screenX + x, screenY + y), artColour(emu, game, t.group, pen))
                << what << " tile " << t.tile << " at cell " << t.cellX << "," << t.cellY << " pixel " << x << "," << y;
        }
}

} // namespace vortastr::test
