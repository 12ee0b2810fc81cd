#include "video/game_palette.h"

#include <algorithm>
#include <cstdio>

namespace vortastr {
namespace {

constexpr uint8_t kPromTrackField[32] = {0x00, 0xFF, 0x52, 0xAD, 0xF8, 0xC0, 0x3F, 0x30, 0x07, 0x02, 0x14,
                                         0x66, 0xB7, 0xA6, 0xAF, 0x2D, 0x00, 0xFF, 0xA4, 0xAD, 0xF8, 0xC0,
                                         0x64, 0x31, 0x07, 0xC7, 0x55, 0x5E, 0x68, 0x3F, 0xAF, 0xA8};
constexpr uint8_t kPromHyperSports[32] = {0x00, 0xFF, 0xA4, 0xAD, 0xF8, 0xC9, 0x30, 0x69, 0x07, 0xA3, 0x55,
                                          0x5E, 0xF0, 0x3E, 0xAE, 0xA8, 0x00, 0xFF, 0xA4, 0xAD, 0xF8, 0xC0,
                                          0x3F, 0x38, 0x07, 0x00, 0x14, 0x13, 0x9E, 0xB7, 0xAE, 0x66};
constexpr uint8_t kPromRockNRope[32] = {0x00, 0x07, 0x38, 0x3F, 0xC0, 0x77, 0x1D, 0x88,
                                        0xE0, 0xF8, 0x14, 0xAD, 0x13, 0x48, 0x26, 0xFF};
constexpr uint8_t kPromCircusCharlie[32] = {0x00, 0xFF, 0x53, 0x07, 0x3F, 0xE8, 0xC0, 0xEE, 0xA4, 0xA5, 0xC5,
                                            0xAF, 0x94, 0xE7, 0x28, 0x60, 0x00, 0xAD, 0x05, 0xF6, 0xE7, 0xC6,
                                            0xC5, 0x7F, 0x17, 0xD9, 0xF0, 0xA6, 0xAF, 0x3D, 0x20, 0xFF};
constexpr uint8_t kStartTutankham[16] = {0x00, 0x80, 0x38, 0xA4, 0xAF, 0xC5, 0x07, 0xA4,
                                         0x3F, 0x0D, 0x27, 0x21, 0xC0, 0xF2, 0xFF, 0xC3};
constexpr uint8_t kStartVortaStrike[16] = {0x00, 0xE8, 0xC0, 0x07, 0x30, 0x3E, 0xD8, 0x27,
                                           0x80, 0xFE, 0xE8, 0xE8, 0x07, 0x27, 0x06, 0x75};

constexpr RgbEntry kCrystalCastles[16] = {{0, 0, 0, 1},       {0, 0, 239, 1},   {0, 165, 255, 1},   {165, 0, 0, 1},
                                          {181, 181, 181, 1}, {231, 231, 0, 1}, {239, 0, 239, 1},   {247, 0, 156, 1},
                                          {255, 0, 0, 1},     {255, 132, 0, 1}, {255, 181, 115, 1}, {255, 255, 255, 1},
                                          {255, 0, 255, 1},   {0, 255, 255, 1}, {0, 0, 255, 1},     {255, 0, 0, 1}};

enum class Family { TutankhamVorta, TrackField, HyperSports, RockNRope, CircusCharlie, JailBreak, Default, Irem };

// Every group starts as the identity; groups 16 and up (the sprites) as well, as the boards'
// lookup PROMs are not part of this program. The rows known for a family are set over it.
ColourLookup identityLookup()
{
    ColourLookup table{};
    for (int g = 0; g < kLookupGroups; ++g)
        for (int p = 0; p < 16; ++p)
            table[std::size_t(g * kLookupGroupBytes + p)] = static_cast<uint8_t>(p);
    return table;
}

void setRow(ColourLookup& table, int group, std::initializer_list<uint8_t> pens)
{
    std::copy(pens.begin(), pens.end(), table.begin() + group * kLookupGroupBytes);
}

ColourLookup buildLookup(Family family)
{
    ColourLookup table = identityLookup();
    switch (family) {
    case Family::TrackField:
        setRow(table, 1, {0, 4, 2, 3, 14, 8, 6, 7, 1, 9, 10, 11, 12, 13, 5, 15});
        setRow(table, 2, {0, 5, 2, 3, 14, 4, 6, 7, 8, 9, 10, 11, 12, 13, 1, 15});
        break;
    case Family::Default:
        for (int g = 1; g < 8; ++g)
            for (int p = 1; p < 16; ++p)
                table[std::size_t(g * kLookupGroupBytes + p)] = static_cast<uint8_t>(4 * g + p % 4);
        for (int g = 1; g < 8; ++g)
            table[std::size_t(g * kLookupGroupBytes)] = 0;
        break;
    case Family::Irem:
        table.fill(0);
        for (int g = 0; g < 16; ++g)
            for (int p = 1; p < 16; ++p)
                table[std::size_t(g * kLookupGroupBytes + p)] = static_cast<uint8_t>(16 * g + p);
        break;
    default: break;
    }
    return table;
}

Family familyOf(GameId game)
{
    switch (game) {
    case Tutankham:
    case VortaStrike:
    case VortaStrikeBootleg: return Family::TutankhamVorta;
    case TrackNField: return Family::TrackField;
    case HyperSports: return Family::HyperSports;
    case RockNRope:
    case RopeMan: return Family::RockNRope;
    case CircusCharlie:
    case CircusCharlie2: return Family::CircusCharlie;
    case JailBreak:
    case WhizQuiz:
    case ShaolinsRoad: return Family::JailBreak;
    case RTypeJapanese:
    case RType:
    case RType2:
    case MasterT:
    case HeroTonma:
    case DragonBreed:
    case Kengo: return Family::Irem;
    default: return Family::Default;
    }
}

} // namespace

RgbEntry decodeColourByte(uint8_t v)
{
    auto b = [v](int n) { return (v >> n) & 1; };
    return {static_cast<uint8_t>(0x21 * b(0) + 0x47 * b(1) + 0x97 * b(2)),
            static_cast<uint8_t>(0x21 * b(3) + 0x47 * b(4) + 0x97 * b(5)),
            static_cast<uint8_t>(0x47 * b(6) + 0x97 * b(7)), 0};
}

void decodeColourBytes(const uint8_t* bytes, int count, RgbBank& rgb)
{
    const int n = std::clamp(count, 0, static_cast<int>(rgb.size()));
    for (int i = 0; i < n; ++i) {
        RgbEntry entry = decodeColourByte(bytes[i]);
        entry.flags = 1;
        rgb[std::size_t(i)] = entry;
    }
}

void loadColourFile(const std::string& path, int count, RgbBank& rgb)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return;
    uint8_t bytes[256] = {};
    const std::size_t wanted = static_cast<std::size_t>(std::clamp(count, 0, 256));
    const std::size_t got = std::fread(bytes, 1, wanted, file);
    std::fclose(file);
    decodeColourBytes(bytes, static_cast<int>(got), rgb);
}

const ColourLookup& colourLookupOf(GameId game)
{
    static const ColourLookup tables[] = {buildLookup(Family::TutankhamVorta), buildLookup(Family::TrackField),
                                          buildLookup(Family::HyperSports),    buildLookup(Family::RockNRope),
                                          buildLookup(Family::CircusCharlie),  buildLookup(Family::JailBreak),
                                          buildLookup(Family::Default),        buildLookup(Family::Irem)};
    return tables[static_cast<int>(familyOf(game))];
}

void initGamePalette(GameId game, DisplayState& display, ColourTables& colours, const ColourFileReader& read)
{
    RgbBank rgb = colours.rgb[std::size_t(colours.bank & 1)];
    auto file = [&](const char* name, int count) {
        if (!read)
            loadColourFile(name, count, rgb);
        else if (const auto bytes = read(name, static_cast<std::size_t>(count)))
            decodeColourBytes(bytes->data(), static_cast<int>(bytes->size()), rgb);
    };
    switch (game) {
    case CrystalCastles:
        rgb.fill(RgbEntry{0, 0, 0, 1});
        std::copy(std::begin(kCrystalCastles), std::end(kCrystalCastles), rgb.begin());
        break;
    case Tutankham: decodeColourBytes(kStartTutankham, 16, rgb); break;
    case VortaStrike:
    case VortaStrikeBootleg:
    case JailBreak:
    case ShaolinsRoad: decodeColourBytes(kStartVortaStrike, 16, rgb); break;
    case TrackNField:
    case WhizQuiz: decodeColourBytes(kPromTrackField, 32, rgb); break; // the same video board
    case HyperSports: decodeColourBytes(kPromHyperSports, 32, rgb); break;
    case RockNRope:
    case RopeMan: decodeColourBytes(kPromRockNRope, 32, rgb); break;
    case CircusCharlie:
    case CircusCharlie2: decodeColourBytes(kPromCircusCharlie, 32, rgb); break;
    case Tazmania:
    case SuperBond: file("tazmania\\colr6f.cpu", 32); break;
    case Scramble: file("scramble\\scramble.clr", 32); break;
    case RTypeJapanese:
    case RType:
    case RType2:
    case MasterT:
    case HeroTonma:
    case DragonBreed:
    case Kengo: break; // colours as they are
    default: file("default.clr", 32); break;
    }
    paletteUpload(display, colours, colourLookupOf(game).data(), rgb);
}

} // namespace vortastr
