#include "nes_header.h"

namespace hdrforge {
namespace {

const char kHexDigits[] = "0123456789ABCDEF";

std::string hexDigit(int value) { return std::string(1, kHexDigits[value & 0xF]); }

// Value of a string of hex digits, as the form's "&H" conversion gives it; empty or bad -> 0.
int hexValue(const std::string& text)
{
    int value = 0;
    for (char c : text) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else
            return 0;
        value = value * 16 + d;
    }
    return value & 0xFF;
}

bool isFlagIndex(int index) { return index == 0 || index == 1; }

} // namespace

void findByteSevenOne(int mapper, HeaderDigits& digits)
{
    if (mapper < 0 || mapper > 255)
        return;
    digits.mapperLowDigit = hexDigit(mapper % 16);
    digits.mapperHighByte = hexDigit(mapper / 16) + "0";
}

void findByteSevenTwo(int mirroring, int battery, int trainer, int fourScreen, HeaderDigits& digits)
{
    if (!isFlagIndex(mirroring) || !isFlagIndex(battery) || !isFlagIndex(trainer) || !isFlagIndex(fourScreen))
        return;
    digits.flagsDigit = hexDigit(mirroring * 1 + battery * 2 + trainer * 4 + fourScreen * 8);
}

HeaderBytes buildHeader(int prgPages, int chrPages, const HeaderDigits& digits)
{
    HeaderBytes bytes{};
    bytes[0] = 'N';
    bytes[1] = 'E';
    bytes[2] = 'S';
    bytes[3] = 0x1A;
    bytes[4] = static_cast<std::uint8_t>(prgPages);
    bytes[5] = static_cast<std::uint8_t>(chrPages);
    bytes[6] = static_cast<std::uint8_t>(hexValue(digits.mapperLowDigit + digits.flagsDigit));
    bytes[7] = static_cast<std::uint8_t>(hexValue(digits.mapperHighByte));
    return bytes;
}

HeaderBytes encodeHeader(const HeaderFields& fields, HeaderDigits& digits)
{
    findByteSevenOne(fields.mapper, digits);
    findByteSevenTwo(fields.mirroring, fields.battery, fields.trainer, fields.fourScreen, digits);
    return buildHeader(fields.prgPages, fields.chrPages, digits);
}

HeaderBytes encodeHeader(const HeaderFields& fields)
{
    HeaderDigits digits;
    return encodeHeader(fields, digits);
}

HeaderFields decodeHeader(const HeaderBytes& bytes)
{
    HeaderFields f;
    f.prgPages = bytes[4];
    f.chrPages = bytes[5];
    f.mirroring = bytes[6] & 0x01 ? 1 : 0;
    f.battery = bytes[6] & 0x02 ? 1 : 0;
    f.trainer = bytes[6] & 0x04 ? 1 : 0;
    f.fourScreen = bytes[6] & 0x08 ? 1 : 0;
    f.mapper = (bytes[6] >> 4) + 16 * (bytes[7] >> 4);
    return f;
}

bool isNes2Header(const HeaderBytes& bytes) { return (bytes[7] & 0x0C) == 0x08; }

std::uint64_t expectedGameSize(const HeaderFields& fields)
{
    return 16u + 512u * static_cast<std::uint64_t>(fields.trainer != 0) +
           16384u * static_cast<std::uint64_t>(fields.prgPages) + 8192u * static_cast<std::uint64_t>(fields.chrPages);
}

} // namespace hdrforge
