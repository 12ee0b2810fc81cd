#include "disc_header.h"

#include <algorithm>
#include <cstring>

#include "code_tables.h"

namespace korvax {

bool isAipIdentifier(const std::uint8_t* data, std::size_t size)
{
    if (data == nullptr || size < kIdentifierSize)
        return false;
    return std::memcmp(data, kSaturnIdentifier.data(), kIdentifierSize) == 0;
}

int readDiscHeader(const std::uint8_t* data, std::size_t size, DiscHeader& header)
{
    header = DiscHeader{};
    for (int i = 0; i < HeaderFieldCount; ++i) {
        const HeaderFieldLayout& f = kHeaderLayout[i];
        if (data == nullptr || f.offset + f.size > size)
            return i;
        const char* begin = reinterpret_cast<const char*>(data + f.offset);
        const char* end = std::find(begin, begin + f.size, '\0');
        header.fields[i].assign(begin, end);
        if (i == FieldAreas)
            header.areaCodes.assign(begin, f.size);
        else if (i == FieldPeripherals)
            header.peripheralCodes.assign(begin, f.size);
    }
    return HeaderFieldCount;
}

std::string headerFieldText(const DiscHeader& header, int field)
{
    if (field < 0 || field >= HeaderFieldCount)
        return {};
    if (field == FieldAreas)
        return decodeAreas(header.areaCodes);
    if (field == FieldPeripherals)
        return decodePeripherals(header.peripheralCodes);
    return header.fields[field];
}

} // namespace korvax
