// The 16-byte iNES header as the editor reads and writes it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace hdrforge {

constexpr std::size_t kHeaderSize = 16;
using HeaderBytes = std::array<std::uint8_t, kHeaderSize>;

// Editor fields. Page counts are the raw bytes 4 and 5, so a count the lists cannot show
// (PRG 0 or above 32, CHR above 64) survives a read and a write unchanged.
struct HeaderFields {
    int prgPages = 1;  // byte 4, 16 KB pages
    int chrPages = 0;  // byte 5, 8 KB pages, 0 = no CHR-ROM
    int mirroring = 0; // 0 horizontal, 1 vertical
    int battery = 0;   // 0 no, 1 yes
    int trainer = 0;
    int fourScreen = 0;
    int mapper = 0; // 0 to 255

    bool operator==(const HeaderFields&) const = default;
};

// Text forms of the header's nibbles, kept between writes like the form keeps them.
struct HeaderDigits {
    std::string mapperLowDigit = "0";  // mapper bits 3-0, one hex digit
    std::string flagsDigit = "0";      // the four flag bits, one hex digit
    std::string mapperHighByte = "00"; // byte 7: mapper bits 7-4 then "0"
};

// Mapper 0-255 -> mapperLowDigit and mapperHighByte; larger or negative values change nothing.
void findByteSevenOne(int mapper, HeaderDigits& digits);
// Flag list indexes -> flagsDigit; any index outside 0-1 (a list without selection) keeps it.
void findByteSevenTwo(int mirroring, int battery, int trainer, int fourScreen, HeaderDigits& digits);

// Builds the 16 bytes written by a save: "NES" 1A, byte 4/5 from the page counts,
// byte 6 from mapperLowDigit+flagsDigit, byte 7 from mapperHighByte, bytes 8-15 zero.
HeaderBytes buildHeader(int prgPages, int chrPages, const HeaderDigits& digits);
// The whole save step for a set of fields (both digit computations, then buildHeader).
HeaderBytes encodeHeader(const HeaderFields& fields, HeaderDigits& digits);
HeaderBytes encodeHeader(const HeaderFields& fields);

// Reads the fields; bytes 0-3, bits 3-0 of byte 7 and bytes 8-15 are ignored.
HeaderFields decodeHeader(const HeaderBytes& bytes);

// True when byte 7 bits 3-2 are 10b: an NES 2.0 header, whose bytes 8-15 carry data.
bool isNes2Header(const HeaderBytes& bytes);

// Length a game with this header should have: 16 + 512 x trainer + 16384 x PRG + 8192 x CHR.
std::uint64_t expectedGameSize(const HeaderFields& fields);

} // namespace hdrforge
