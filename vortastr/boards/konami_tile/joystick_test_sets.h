#pragma once
// Free test ROM sets of the joystick boards WhizQuiz, Shaolin's Road and MegaZone. Each program
// acknowledges its interrupt, reads its ports, draws a title and a pattern of tiles in several
// colour groups (flipped where the board flips tiles), moves a sprite with joystick 1 and
// scrolls or switches sprite banks where the board has them. The tests compute the expected
// picture from the same placed tiles and art, independently of the loader's decoders.
#include "boards/konami_tile/tile_test_art.h"
#include "testrom/rom_packing.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vortastr::testrom {

enum class JoystickBoard { WhizQuiz, ShaolinsRoad, MegaZone };

// Pens of the art: the shared test art, plus the letters of these titles.
int joystickTilePen(int tile, int x, int y);
// The moving sprite's art at its sheet index (see JoystickFacts::sheetSprite), else 0.
int joystickSpritePen(JoystickBoard board, int sprite, int x, int y);

struct JoystickFacts {
    uint16_t spriteX = 0, spriteY = 0; // program variables: the sprite's position bytes
    uint16_t frameCounter = 0;         // counted by the interrupt routine
    uint8_t startX = 0, startY = 0;
    int sheetSprite = 0; // sprite-sheet index the moving sprite shows (code and bank)
    int spriteGroup = 0; // its colour group as the renderer looks it up
    bool spriteFlipX = false;
    // Registers or scroll RAM bytes the program changes every frame (0: none): WhizQuiz the
    // first row of its band, MegaZone the x and y scroll bytes.
    uint16_t scrollX = 0, scrollY = 0;
};
JoystickFacts joystickFacts(JoystickBoard board);

// Still sprites of the picture (Shaolin's Road shows its sprite flips with these).
struct PlacedSprite {
    int x = 0, y = 0; // screen position
    bool flipX = false, flipY = false;
    int group = 0;
};
std::vector<PlacedSprite> stillSprites(JoystickBoard board);

// Tiles of the background map, in 8-pixel cells of the map (WhizQuiz: the 64 x 32 map, of which
// rows 2-29 show; the others: the 32 x 32 map, cell (x, y) at background pixel (8x, 8y)).
std::vector<PlacedTile> joystickMapTiles(JoystickBoard board);
// WhizQuiz's scrolled band: map rows whose row scroll the program changes.
constexpr int kWhizQuizBandRow = 20;
constexpr int kWhizQuizBandRows = 4;

using JoystickRomSets = std::map<std::string, RomFiles>;
// Folder -> files; the MegaZone set brings the shared colour file "default.clr" (folder "").
JoystickRomSets buildJoystickTestRomSets();
// Writes the set of `game` ("whizquiz", "shaolin", "megazone") or all when empty; false with
// a reason when a file cannot be written or there is no such set.
bool writeJoystickTestRomSets(const std::string& folder, const std::string& game, std::string& error);

} // namespace vortastr::testrom
