#include "code_tables.h"

#include <array>

namespace korvax {
namespace {

// The first four are the classic ones; the rest are the further published letters.
constexpr std::array<CodeText, 8> kAreas{{
    {'J', "Japan"},
    {'T', "Asia NTSC (Taiwan, Phillipines, Korea)"},
    {'U', "N.America (U.S., Canada), Central South America (Brazil)"},
    {'E', "Europe PAL, East Asia PAL, Central South America PAL"},
    {'B', "Central South America NTSC (Brazil)"},
    {'K', "Korea"},
    {'A', "East Asia PAL"},
    {'L', "Central South America PAL"},
}};

constexpr std::array<CodeText, 16> kPeripherals{{
    {'J', "Standard Digital Control Pad"},
    {'A', "Analogue Controller"},
    {'M', "Mouse"},
    {'K', "Keyboard"},
    {'S', "Steering Wheel"},
    {'T', "Multi-tap"},
    {'G', "Light Gun"},
    {'W', "RAM Cartridge"},
    {'R', "ROM Cartridge"},
    {'E', "3D Control Pad"},
    {'C', "Link Cable"},
    {'D', "Modem"},
    {'X', "Network Adaptor"},
    {'Q', "Pachinko Controller"},
    {'F', "Floppy Disk Drive"},
    {'P', "Video CD Card"},
}};

} // namespace

std::span<const CodeText> areaCodes() { return kAreas; }
std::span<const CodeText> peripheralCodes() { return kPeripherals; }

std::string decodeCodes(std::string_view field, std::span<const CodeText> table)
{
    std::string text;
    for (const CodeText& entry : table) {
        if (field.find(entry.code) == std::string_view::npos)
            continue;
        if (!text.empty())
            text += ", ";
        text += entry.text;
    }
    if (!text.empty())
        text += '.';
    return text;
}

std::string decodeAreas(std::string_view field) { return decodeCodes(field, kAreas); }
std::string decodePeripherals(std::string_view field) { return decodeCodes(field, kPeripherals); }

} // namespace korvax
