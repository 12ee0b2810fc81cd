// The disc header of a Sega Saturn disc (the start of an "AIP" file or of the system area):
// its nine fields, how they are read, and the identifier that makes a file count as an AIP.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvax {

inline constexpr std::string_view kSaturnIdentifier = "SEGA SEGASATURN ";
inline constexpr std::size_t kIdentifierSize = 16;

enum HeaderField : int {
    FieldHardwareId,
    FieldManufacturerId,
    FieldProductNumber,
    FieldVersion,
    FieldReleaseDate,
    FieldDeviceInfo,
    FieldAreas,
    FieldPeripherals,
    FieldTitle,
    HeaderFieldCount
};

struct HeaderFieldLayout {
    std::size_t offset;
    std::size_t size;
    const char* label; // the label beside the value in the information dialog
};

// Published layout: six reserved bytes follow the area codes, so the peripherals start at 80
// and the title at 96.
inline constexpr std::array<HeaderFieldLayout, HeaderFieldCount> kHeaderLayout{{
    {0, 16, "Hardware Identifier"},
    {16, 16, "Manufacturer ID"},
    {32, 10, "Product Number"},
    {42, 6, "Version Information"},
    {48, 8, "Release Date"},
    {56, 8, "Device Information"},
    {64, 10, "Compatible Areas"},
    {80, 16, "Compatible Peripherals"},
    {96, 112, "Game Title(s)"},
}};

// Bytes needed to read every field.
inline constexpr std::size_t kHeaderSize = 96 + 112;

// Each field as read: its bytes up to the first zero byte or its full width. The codes of the
// area and peripheral fields count anywhere in the field, so those keep their whole width too.
struct DiscHeader {
    std::array<std::string, HeaderFieldCount> fields;
    std::string areaCodes;
    std::string peripheralCodes;
};

// True when the first 16 bytes are exactly the Saturn identifier (trailing space included).
bool isAipIdentifier(const std::uint8_t* data, std::size_t size);

// Reads the fields in order from data[0, size). Returns how many fields were read whole; a
// field that runs past the end and every field after it stay empty.
int readDiscHeader(const std::uint8_t* data, std::size_t size, DiscHeader& header);

// The text shown for a field: areas and peripherals decoded, the others as read.
std::string headerFieldText(const DiscHeader& header, int field);

} // namespace korvax
