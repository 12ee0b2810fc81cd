#include "iso_directory_check.h"

namespace korvax {
namespace {

constexpr std::size_t kRootRecordOffset = 156; // inside the primary volume descriptor
constexpr std::size_t kRecordFixedSize = 33;   // directory record up to its name
constexpr std::size_t kXaSize = 14;            // XA attributes libiso9660 reads after the name

std::uint32_t le32(const std::uint8_t* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

} // namespace

bool rootDirectoryExtent(const std::uint8_t* pvd, std::size_t size, DirectoryExtent& extent)
{
    if (pvd == nullptr || size < kRootRecordOffset + 34 || pvd[0] != 1)
        return false;
    const std::uint8_t* root = pvd + kRootRecordOffset;
    extent.lsn = le32(root + 2);
    extent.size = le32(root + 10);
    return extent.size > 0 && extent.size <= kMaxRootDirectoryBytes;
}

bool directoryRecordsInBounds(const std::uint8_t* dir, std::size_t size)
{
    std::size_t offset = 0;
    while (offset < size) {
        const std::size_t length = dir[offset];
        if (length == 0) {
            ++offset;
            continue;
        }
        if (length < kRecordFixedSize || offset + length > size)
            return false;
        const std::size_t nameLength = dir[offset + 32];
        if (kRecordFixedSize + nameLength > length)
            return false;
        // After an even-length name comes a pad byte; libiso9660 then looks for XA attributes
        // when the rest of the record is large enough to hold them.
        std::size_t systemUse = length - kRecordFixedSize - nameLength;
        systemUse -= systemUse % 2;
        const std::size_t xaEnd = kRecordFixedSize + nameLength + (nameLength % 2 == 0 ? 1 : 0) + kXaSize;
        if (systemUse >= kXaSize && offset + xaEnd > size)
            return false;
        offset += length;
    }
    return true;
}

} // namespace korvax
