#include "mapper_table.h"

#include <charconv>

namespace hdrforge {
namespace {

struct MapperEntry {
    int number;
    const char* chip;
    const char* note;
};

const MapperEntry kMappers[] = {
    {0, "No mapper", "All 32kB ROM + 8kB VROM games"},
    {1, "Nintendo MMC1", "Examples: Megaman 2, Bomberman 2, etc."},
    {2, "Simple ROM switch", "Examples: Castlevania, Life Force, etc."},
    {3, "Simple VROM switch", "Examples: Q*Bert, Pipe Dream, Cybernoid and many Japanese games"},
    {4, "Nintendo MMC3", "Examples: Silver Surfer, Super Contra, Immortal, etc."},
    {5, "Nintendo MMC5", "Example: Castlevania 3"},
    {6, "FFE F4xxx", "F4xxx games off FFE CDROM"},
    {7, "32kB ROM switch", "Examples: Wizards and Warriors, Solstice, etc."},
    {8, "FFE F3xxx", "F3xxx games off FFE CDROM"},
    {9, "Nintendo MMC2", "Example: Punchout"},
    {10, "Nintendo MMC4", "Example: Punchout2"},
    {11, "ColorDreams chip", "Examples: Crystal Mines, Tagin Dragon, etc."},
    {12, "FFE F6xxx", "F6xxx games off FFE CDROM"},
    {15, "100-in-1 switch", "Example: 100-in-1 cartridge"},
    {16, "Bandai chip", "Example: Japanese DragonBall Z series, etc."},
    {17, "FFE F8xxx", "F8xxx games off FFE CDROM"},
    {18, "Jaleco SS8806 chip", "Example: Japanese Baseball 3, etc."},
    {19, "Namcot 106 chip", "Examples: Japanese Ghost House 2, Baseball 90, etc."},
    {20, "Nintendo DiskSystem", "Reserved."},
    {21, "Konami VRC4", "Example: Japanese WaiWai World 2, etc."},
    {22, "Konami VRC2 (a)", "Example: Japanese TwinBee 3"},
    {23, "Konami VRC2 (b)", "Examples: Japanese WaiWai World, Moon Wind Legend, etc."},
    {24, "Konami VRC6", "???"},
    {32, "Irem G-101 chip", "Example: Japanese Image Fight, etc."},
    {33, "Taito TC0190/TC0350", "Example: Japanese Power Blazer"},
    {34, "32kB ROM switch", "Examples: Impossible Mission 2 and Deadly Towers"},
};

} // namespace

std::string findMapperDesc(int mapper)
{
    for (const MapperEntry& entry : kMappers) {
        if (entry.number == mapper)
            return std::string(entry.chip) + " " + std::string(34, '-') + " " + entry.note;
    }
    return kNoMapperInfo;
}

std::string findMapperDescForText(const std::string& text)
{
    int value = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    if (text.empty() || text[0] < '0' || text[0] > '9')
        return kNoMapperInfo;
    auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last)
        return kNoMapperInfo;
    return findMapperDesc(value);
}

} // namespace hdrforge
