#pragma once
// Loading of program ROMs into a processor's memory block and of further ROMs into side
// buffers. Nothing is checked beyond opening a file: a short file fills less, and what it
// does not fill keeps the buffer's previous content. Writes never go past the buffer's end.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vortastr {

using RomList = std::vector<std::string>;
struct RomPair {
    std::string even;
    std::string odd;
};
using RomPairList = std::vector<RomPair>;

// Each file in turn, fileSize bytes apart from `address` on. 1 as soon as a file does not open
// (after its message), else 0.
int loadRomList(std::span<uint8_t> memory, const RomList& list, uint32_t address, uint32_t fileSize);

// Even and odd files interleaved byte by byte, 2 x fileSize bytes per pair from `address` on.
// 1 when a file does not open, else 0.
int loadRomPairs(std::span<uint8_t> memory, const RomPairList& pairs, uint32_t address, uint32_t fileSize);

// As loadRomList into a side buffer from offset 0.
int loadRomListInto(std::span<uint8_t> buffer, const RomList& list, uint32_t fileSize);

// A list of names in one game folder: "folder\name" for each.
RomList inFolder(const char* folder, std::initializer_list<const char*> names);

} // namespace vortastr
