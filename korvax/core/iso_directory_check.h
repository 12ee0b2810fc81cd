// Checks an ISO 9660 root directory before libiso9660 parses it. libiso9660 (2.1) trusts the
// lengths in directory records and reads past its buffer when a record's name runs beyond the
// directory's end; such directories are refused here instead.
#pragma once

#include <cstddef>
#include <cstdint>

namespace korvax {

inline constexpr std::size_t kIsoBlockSize = 2048;
// A larger root directory is not a CD's: refused rather than read into memory.
inline constexpr std::uint32_t kMaxRootDirectoryBytes = 16u << 20;

struct DirectoryExtent {
    std::uint32_t lsn = 0;
    std::uint32_t size = 0;
    std::uint32_t blocks() const
    {
        return static_cast<std::uint32_t>((std::uint64_t{size} + kIsoBlockSize - 1) / kIsoBlockSize);
    }
};

// The root directory's extent from a primary volume descriptor block (2048 bytes).
bool rootDirectoryExtent(const std::uint8_t* pvd, std::size_t size, DirectoryExtent& extent);

// True when every directory record in dir[0, size) lies wholly inside it, the way libiso9660
// walks them (a zero length byte skips one byte).
bool directoryRecordsInBounds(const std::uint8_t* dir, std::size_t size);

} // namespace korvax
