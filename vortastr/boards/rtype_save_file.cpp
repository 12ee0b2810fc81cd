#include "boards/rtype_save_file.h"

#include "boards/file_commit.h"
#include "boards/game_files.h"
#include "boards/rom_files.h"

#include <cstring>

namespace vortastr {
namespace {

constexpr MemoryRegion kRTypeRegions[] = {{0x40000, 0x4000}, {0xC0000, 0x400},  {0xC8000, 0xC00},  {0xCC000, 0xC00},
                                          {0xD0000, 0x4000}, {0xD8000, 0x4000}, {0xE0000, 0x10000}};
constexpr MemoryRegion kRType2Regions[] = {
    {0xC0000, 0x400}, {0xC8000, 0xA00}, {0xD0000, 0x8000}, {0xD8000, 0xA00}, {0xE0000, 0x4000}};

bool regionsFit(GameId game, std::size_t memorySize)
{
    for (const MemoryRegion& region : rtypeSaveRegions(game))
        if (region.start > memorySize || region.length > memorySize - region.start)
            return false;
    return true;
}

} // namespace

std::span<const MemoryRegion> rtypeSaveRegions(GameId game)
{
    switch (game) {
    case RType: return kRTypeRegions;
    case RType2: return kRType2Regions;
    default: return {};
    }
}

const char* rtypeSaveFileName(GameId game)
{
    switch (game) {
    case RType: return "rtype\\savegame.dat";
    case RType2: return "rtype2\\savegame.dat";
    default: return nullptr;
    }
}

std::size_t rtypeSaveFileSize(GameId game)
{
    if (rtypeSaveRegions(game).empty())
        return 0;
    std::size_t size = v30::v30ContextRecordSize;
    for (const MemoryRegion& region : rtypeSaveRegions(game))
        size += region.length;
    return size;
}

std::vector<uint8_t> encodeRTypeSave(GameId game, const v30::V30Context& context, std::span<const uint8_t> memory)
{
    if (rtypeSaveRegions(game).empty() || !regionsFit(game, memory.size()))
        return {};
    const v30::V30ContextRecord record = v30::serialize(context);
    std::vector<uint8_t> file(record.begin(), record.end());
    file.reserve(rtypeSaveFileSize(game));
    for (const MemoryRegion& region : rtypeSaveRegions(game)) {
        const auto part = memory.subspan(region.start, region.length);
        file.insert(file.end(), part.begin(), part.end());
    }
    return file;
}

bool decodeRTypeSave(GameId game, std::span<const uint8_t> file, v30::V30Context& context, std::span<uint8_t> memory)
{
    const std::size_t size = rtypeSaveFileSize(game);
    if (size == 0 || file.size() < size || !regionsFit(game, memory.size()))
        return false;
    v30::deserialize(file.data(), context);
    std::size_t offset = v30::v30ContextRecordSize;
    for (const MemoryRegion& region : rtypeSaveRegions(game)) {
        std::memcpy(memory.data() + region.start, file.data() + offset, region.length);
        offset += region.length;
    }
    return true;
}

bool saveRTypeFile(GameId game, const v30::V30Context& context, std::span<const uint8_t> memory, std::string& error)
{
    const char* name = rtypeSaveFileName(game);
    const std::vector<uint8_t> file = encodeRTypeSave(game, context, memory);
    if (!name || file.empty()) {
        error = "this game has no saved-state file";
        return false;
    }
    return commitFile(gameFilePath(name), file, error);
}

bool loadRTypeFile(GameId game, v30::V30Context& context, std::span<uint8_t> memory)
{
    const char* name = rtypeSaveFileName(game);
    std::string bytes;
    if (!name || !readWholeFile(resolveRomPath(name), rtypeSaveFileSize(game), bytes))
        return false;
    return decodeRTypeSave(game, std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), context,
                           memory);
}

} // namespace vortastr
