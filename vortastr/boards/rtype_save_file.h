#pragma once
// The raw saved-state file of RType and RType II ("rtype\savegame.dat", "rtype2\savegame.dat"):
// the 87-byte V30 register record, then fixed regions of the 1 MB address space in order, with
// no header, length or check sum.
#include "boards/game_id.h"
#include "cpu/v30/v30_context.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vortastr {

struct MemoryRegion {
    uint32_t start;
    uint32_t length;
};

// The regions of the game's file in order; empty for games without one.
std::span<const MemoryRegion> rtypeSaveRegions(GameId game);
// The file's name below the ROM folder; null for games without one.
const char* rtypeSaveFileName(GameId game);
// Bytes of the whole file (record and regions); 0 for games without one.
std::size_t rtypeSaveFileSize(GameId game);

// The file's bytes for the context and the 1 MB memory image.
std::vector<uint8_t> encodeRTypeSave(GameId game, const v30::V30Context& context, std::span<const uint8_t> memory);
// Puts a file back; nothing changes unless it has at least the file's size (a longer file
// gives its first bytes) and the memory image holds every region. The context keeps its
// memory pointer.
bool decodeRTypeSave(GameId game, std::span<const uint8_t> file, v30::V30Context& context, std::span<uint8_t> memory);

// F7 and F8 on the file below the ROM folder. Save: false when it cannot be written (the old
// file is untouched), with the reason. Load: false, changing nothing, when there is no usable
// file.
bool saveRTypeFile(GameId game, const v30::V30Context& context, std::span<const uint8_t> memory, std::string& error);
bool loadRTypeFile(GameId game, v30::V30Context& context, std::span<uint8_t> memory);

} // namespace vortastr
