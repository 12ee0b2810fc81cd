#include "boards/game_catalogue.h"

namespace vortastr {
namespace {

using enum MenuGroup;

// GameId, title, menu group, menu text, command, code, ROM folder, CPU, has a board.
// Commands of games without a menu item are the identifiers a menu with further items uses.
constexpr std::array<GameInfo, kGameCount> kCatalogue = {{
    {0, "Tank", None, nullptr, 40057, "ZK", "tank", Cpu6502, true},
    {1, "Vanguard", None, nullptr, 40073, "VG", "vanguard", Cpu6502, true},
    {2, "Eggs", None, nullptr, 40074, "EG", "eggs", Cpu6502, true},
    {3, "Crystal Castles", Atari, "Crystal Castles", 40075, "CC", "crystalc", Cpu6502, true},
    {4, "Zoar", None, nullptr, 40076, "ZR", "zoar", Cpu6502, true},
    {5, nullptr, None, nullptr, 0, nullptr, nullptr, Cpu6502, false},
    {6, nullptr, None, nullptr, 0, nullptr, nullptr, Cpu6502, false},
    {7, "Pandoras Palace", None, nullptr, 40078, "PA", "pandora", Cpu6809, true},
    {8, "Tutankham", Konami, "Tutankhan", 40077, "TK", "tutankhm", Cpu6809, true},
    {9, "Vorta Strike", Konami, "Vorta Strike", 40084, "JN", "vorta", Cpu6809, true},
    {10, "Vorta Strike Bootleg", Konami, "Vorta Strike Bootleg", 40091, nullptr, "vortaboot", Cpu6809, true},
    {11, "Tunnel Hunt", None, nullptr, 40080, "TH", "tunnel", Cpu6502, true},
    {12, "Iron Horse", None, nullptr, 40082, "IH", "ironhrse", Cpu6809, true},
    {13, "Sky Kid", None, nullptr, 40083, "SK", "skykid", Cpu6809, true},
    {14, "Track'n'Field", Konami, "Track && Field", 40090, "TF", "trackfld", Cpu6809, true},
    {15, "Hyper Sports", Konami, "Hyper Sports", 40092, "HS", "hyperspt", Cpu6809, true},
    {16, "Rock'n'Rope", Konami, "Rock 'n' Rope", 40093, "RR", "rocnrope", Cpu6809, true},
    {17, "Circus Charlie", Konami, "Circus Charlie", 40094, "CH", "circusch", Cpu6809, true},
    {18, "Jail Break", None, nullptr, 40095, "JB", "jailbrk", Cpu6809, true},
    {19, "Circus Charlie Rev 2", Konami, "Circus Charlie 2", 40096, "C2", "circusc2", Cpu6809, true},
    {20, "Tazmania", None, nullptr, 40097, "TZ", "tazmania", CpuZ80, true},
    {21, "Scramble", None, nullptr, 40098, "SC", "scramble", CpuZ80, true},
    {22, "Rope Man", None, nullptr, 40099, "RM", "ropeman", Cpu6809, true},
    {23, "WhizQuiz", None, nullptr, 40101, "WQ", "whizquiz", Cpu6809, true},
    {24, "SuperBond", None, nullptr, 40100, "SB", "superbnd", CpuZ80, true},
    {25, "Road Fighters", None, nullptr, 40103, "RF", "roadfght", Cpu6809, true},
    {26, "MegaZone", None, nullptr, 40104, "mz", "megazone", Cpu6809, true},
    {27, "RType I Japanese", None, nullptr, 0, "rj", "rtypejp", CpuV30, true},
    {28, "RType I", Irem, "RType I", 40106, "r1", "rtype", CpuV30, true},
    {29, "RType II", Irem, "RType II", 40105, "r2", "rtype2", CpuV30, true},
    {30, "RType Leo", None, nullptr, 40108, "r3", "rtleo", CpuV30, true},
    {31, "MasterT", None, nullptr, 40102, "mt", "mt", CpuV30, true},
    {32, "Shaolins Road", None, nullptr, 40107, "sh", "shaolin", Cpu6809, true},
    {33, "In The Hunt", None, nullptr, 40111, "it", "inthehnt", CpuV30, true},
    {34, "New Zealand Story", None, nullptr, 0, "nz", "NZSTORY", CpuZ80, true},
    {35, "Legend of Hero Tonma", Irem, "Legend of Hero Tomna", 40117, "lh", "loht", CpuV30, true},
    {36, "Dragon Breed", None, nullptr, 0, "db", "dbreed", CpuV30, true},
    {37, "Kengo", None, nullptr, 0, "kg", "kengo", CpuV30, true},
    {38, nullptr, None, nullptr, 0, "uc", "undercps", CpuV30, true},
}};

constexpr GameId kAtariGames[] = {3};
constexpr GameId kKonamiGames[] = {9, 10, 8, 14, 15, 16, 17, 19};
constexpr GameId kIremGames[] = {28, 29, 35};

constexpr std::array<GameMenuGroup, 3> kGameMenu = {{
    {Atari, "Atari", kAtariGames},
    {Konami, "Konami", kKonamiGames},
    {Irem, "IREM", kIremGames},
}};

} // namespace

const GameInfo* gameInfo(GameId game)
{
    if (game < 0 || game >= kGameCount)
        return nullptr;
    return &kCatalogue[static_cast<std::size_t>(game)];
}

std::span<const GameInfo> gameCatalogue() { return kCatalogue; }

GameId gameForCommand(int command)
{
    if (command == 0)
        return -1;
    for (const GameInfo& info : kCatalogue)
        if (info.command == command)
            return info.id;
    return -1;
}

std::span<const GameMenuGroup> gameMenuGroups() { return kGameMenu; }

void setGameTitle(GameId game, const char*& titleName)
{
    const GameInfo* info = gameInfo(game);
    if (info && info->title)
        titleName = info->title;
}

bool needs16BitScreen(GameId game)
{
    switch (game) {
    case 27: case 28: case 29: case 35: case 36: case 37:
        return true;
    default:
        return false;
    }
}

} // namespace vortastr
