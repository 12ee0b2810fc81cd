#pragma once
// Decoding of graphics ROMs into sheet images: one byte per pixel holding a pen 0 to 15, 128
// pixels per line, n blocks of 16384 bytes. Characters are 8 x 8 tiles, 256 to a block; sprites
// are 16 x 16, 64 to a block (Crystal Castles: 8 x 16, 128 to a block). The layout of the ROM
// bits depends on the board of the game.
#include "boards/game_id.h"
#include "boards/rom_loader.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace vortastr {

constexpr std::size_t kBlockBytes = 16384;

// The contents of up to four graphics ROMs; an absent file is an empty vector.
using GraphicsInputs = std::array<std::vector<uint8_t>, 4>;

// Pure decodes of ROM bytes by the rule of the game's board.
std::vector<uint8_t> decodeCharacterImage(GameId game, const GraphicsInputs& inputs, int blocks);
std::vector<uint8_t> decodeSpriteImage(GameId game, const GraphicsInputs& inputs, int blocks);

// Reads each named file (an empty name is none) into a zeroed buffer of fileSize bytes and
// decodes; nothing when a file does not open (after its message).
std::optional<std::vector<uint8_t>> decodeCharacters(GameId game, const RomList& files, uint32_t fileSize, int blocks);
std::optional<std::vector<uint8_t>> decodeSprites(GameId game, const RomList& files, uint32_t fileSize, int blocks);

} // namespace vortastr
