#pragma once
// Free test ROM sets of the tile-and-sprite boards (Track'n'Field, Hyper Sports, Rock'n'Rope
// and Rope Man, Circus Charlie and its second revision). Each program is encrypted the way the
// boards decrypt opcodes, acknowledges its interrupt, reads its ports, draws a title and a
// pattern of flipped tiles in several colour groups, scrolls where the board scrolls and moves
// a sprite with the joystick (with the run buttons on Track'n'Field and Hyper Sports).
#include "boards/konami_tile/tile_test_art.h"
#include "testrom/rom_packing.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vortastr::testrom {

// Facts of the programs that tests check against.
struct TileProgramFacts {
    uint16_t spriteX = 0, spriteY = 0; // program variables: the sprite's position bytes
    uint16_t frameCounter = 0;         // counted by the interrupt routine
    uint16_t scroll = 0;               // the band's scroll value (0: the board does not scroll)
    uint8_t startX = 0, startY = 0;
    uint8_t spriteAttr = 0; // attribute byte of the sprite entry
};
TileProgramFacts tileProgramFacts(TileBoard board);

// Rock'n'Rope's program writes a default high-score table at start-up, as the game does: eight
// entries of a three-byte BCD score (most significant first), three initials and the stage
// reached, and the top score again where the screen shows it; the top score's first byte is
// written last, completing what the table's installer waits for.
constexpr uint16_t kRockNRopeScoreTable = 0x5160;
constexpr uint16_t kRockNRopeShownTopScore = 0x50A6;
std::vector<uint8_t> rockNRopeDefaultHighScoreTable(); // 64 bytes

// The opcode byte the ROM holds for `opcode` at `address` on boards that decrypt opcodes.
uint8_t konamiOpcodeEncryption(uint16_t address, uint8_t opcode);

// Folder (under the ROM path) -> file name -> contents.
using RomSetFiles = std::map<std::string, RomFiles>;
RomSetFiles buildTileTestRomSets();

// Writes the set of one game folder ("trackfld", ...) under folder, or every set when `game`
// is empty; false with a reason when a file cannot be written or the game has no set here.
bool writeTileTestRomSets(const std::string& folder, const std::string& game, std::string& error);

} // namespace vortastr::testrom
