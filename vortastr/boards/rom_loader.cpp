#include "boards/rom_loader.h"

#include "boards/rom_files.h"

#include <algorithm>

namespace vortastr {
namespace {

// Reads up to fileSize bytes of the file into memory[address...], clipped to the buffer.
bool loadOne(std::span<uint8_t> memory, const std::string& name, uint64_t address, uint32_t fileSize)
{
    RomFile file = openRom(name);
    if (!file)
        return false;
    if (address < memory.size()) {
        const auto room = static_cast<std::size_t>(std::min<uint64_t>(fileSize, memory.size() - address));
        readRom(file.get(), memory.data() + address, room);
    }
    return true;
}

} // namespace

int loadRomList(std::span<uint8_t> memory, const RomList& list, uint32_t address, uint32_t fileSize)
{
    uint64_t at = address;
    for (const std::string& name : list) {
        if (!loadOne(memory, name, at, fileSize))
            return 1;
        at += fileSize;
    }
    return 0;
}

int loadRomPairs(std::span<uint8_t> memory, const RomPairList& pairs, uint32_t address, uint32_t fileSize)
{
    std::vector<uint8_t> even, odd;
    even.resize(fileSize);
    odd.resize(fileSize);
    uint64_t at = address;
    for (const RomPair& pair : pairs) {
        RomFile evenFile = openRom(pair.even);
        if (!evenFile)
            return 1;
        RomFile oddFile = openRom(pair.odd);
        if (!oddFile)
            return 1;
        // Bytes a short file does not fill keep what the memory held there.
        for (uint32_t i = 0; i < fileSize; ++i) {
            const uint64_t e = at + 2ull * i;
            even[i] = e < memory.size() ? memory[e] : 0;
            odd[i] = e + 1 < memory.size() ? memory[e + 1] : 0;
        }
        readRom(evenFile.get(), even.data(), fileSize);
        readRom(oddFile.get(), odd.data(), fileSize);
        for (uint32_t i = 0; i < fileSize; ++i) {
            const uint64_t e = at + 2ull * i;
            if (e < memory.size())
                memory[e] = even[i];
            if (e + 1 < memory.size())
                memory[e + 1] = odd[i];
        }
        at += 2ull * fileSize;
    }
    return 0;
}

int loadRomListInto(std::span<uint8_t> buffer, const RomList& list, uint32_t fileSize)
{
    return loadRomList(buffer, list, 0, fileSize);
}

RomList inFolder(const char* folder, std::initializer_list<const char*> names)
{
    RomList list;
    for (const char* name : names)
        list.push_back(std::string(folder) + "\\" + name);
    return list;
}

} // namespace vortastr
