#include "boards/game_catalogue.h"

namespace vortastr {
namespace {

using enum MenuGroup;

// GameId, title, menu group, menu text, command, code, ROM folder, CPU, has a board.
// Commands of games without a menu item are the identifiers a menu with further items uses;
// the five games that were given none (27, 34, 36, 37, 38) use 40201 to 40205, a range of our
// own beside the ROM audit's 40200, so that every running game can be chosen from the menu.
constexpr std::array<GameInfo, kGameCount> kCatalogue = {{
    {Tank, "Tank", None, nullptr, 40057, "ZK", "tank", Cpu6502, true},
    {Vanguard, "Vanguard", None, nullptr, 40073, "VG", "vanguard", Cpu6502, true},
    {Eggs, "Eggs", None, nullptr, 40074, "EG", "eggs", Cpu6502, true},
    {CrystalCastles, "Crystal Castles", Atari, "Crystal Castles", 40075, "CC", "crystalc", Cpu6502, true},
    {Zoar, "Zoar", None, nullptr, 40076, "ZR", "zoar", Cpu6502, true},
    {Unused5, nullptr, None, nullptr, 0, nullptr, nullptr, Cpu6502, false},
    {Unused6, nullptr, None, nullptr, 0, nullptr, nullptr, Cpu6502, false},
    {PandorasPalace, "Pandoras Palace", None, nullptr, 40078, "PA", "pandora", Cpu6809, true},
    {Tutankham, "Tutankham", Konami, "Tutankhan", 40077, "TK", "tutankhm", Cpu6809, true},
    {VortaStrike, "Vorta Strike", Konami, "Vorta Strike", 40084, "JN", "vorta", Cpu6809, true},
    {VortaStrikeBootleg, "Vorta Strike Bootleg", Konami, "Vorta Strike Bootleg", 40091, nullptr, "vortaboot", Cpu6809,
     true},
    {TunnelHunt, "Tunnel Hunt", None, nullptr, 40080, "TH", "tunnel", Cpu6502, true},
    {IronHorse, "Iron Horse", None, nullptr, 40082, "IH", "ironhrse", Cpu6809, true},
    {SkyKid, "Sky Kid", None, nullptr, 40083, "SK", "skykid", Cpu6809, true},
    {TrackNField, "Track'n'Field", Konami, "Track && Field", 40090, "TF", "trackfld", Cpu6809, true},
    {HyperSports, "Hyper Sports", Konami, "Hyper Sports", 40092, "HS", "hyperspt", Cpu6809, true},
    {RockNRope, "Rock'n'Rope", Konami, "Rock 'n' Rope", 40093, "RR", "rocnrope", Cpu6809, true},
    {CircusCharlie, "Circus Charlie", Konami, "Circus Charlie", 40094, "CH", "circusch", Cpu6809, true},
    {JailBreak, "Jail Break", None, nullptr, 40095, "JB", "jailbrk", Cpu6809, true},
    {CircusCharlie2, "Circus Charlie Rev 2", Konami, "Circus Charlie 2", 40096, "C2", "circusc2", Cpu6809, true},
    {Tazmania, "Tazmania", None, nullptr, 40097, "TZ", "tazmania", CpuZ80, true},
    {Scramble, "Scramble", None, nullptr, 40098, "SC", "scramble", CpuZ80, true},
    {RopeMan, "Rope Man", None, nullptr, 40099, "RM", "ropeman", Cpu6809, true},
    {WhizQuiz, "WhizQuiz", None, nullptr, 40101, "WQ", "whizquiz", Cpu6809, true},
    {SuperBond, "SuperBond", None, nullptr, 40100, "SB", "superbnd", CpuZ80, true},
    {RoadFighters, "Road Fighters", None, nullptr, 40103, "RF", "roadfght", Cpu6809, true},
    {MegaZone, "MegaZone", None, nullptr, 40104, "mz", "megazone", Cpu6809, true},
    {RTypeJapanese, "RType I Japanese", None, nullptr, 40201, "rj", "rtypejp", CpuV30, true},
    {RType, "RType I", Irem, "RType I", 40106, "r1", "rtype", CpuV30, true},
    {RType2, "RType II", Irem, "RType II", 40105, "r2", "rtype2", CpuV30, true},
    {RTypeLeo, "RType Leo", None, nullptr, 40108, "r3", "rtleo", CpuV30, true},
    {MasterT, "MasterT", None, nullptr, 40102, "mt", "mt", CpuV30, true},
    {ShaolinsRoad, "Shaolins Road", None, nullptr, 40107, "sh", "shaolin", Cpu6809, true},
    {InTheHunt, "In The Hunt", None, nullptr, 40111, "it", "inthehnt", CpuV30, true},
    {NewZealandStory, "New Zealand Story", None, nullptr, 40202, "nz", "NZSTORY", CpuZ80, true},
    {HeroTonma, "Legend of Hero Tonma", Irem, "Legend of Hero Tomna", 40117, "lh", "loht", CpuV30, true},
    {DragonBreed, "Dragon Breed", None, nullptr, 40203, "db", "dbreed", CpuV30, true},
    {Kengo, "Kengo", None, nullptr, 40204, "kg", "kengo", CpuV30, true},
    {UnderCps, nullptr, None, nullptr, 40205, "uc", "undercps", CpuV30, true},
}};

constexpr GameId kAtariGames[] = {CrystalCastles};
constexpr GameId kKonamiGames[] = {VortaStrike, VortaStrikeBootleg, Tutankham,     TrackNField,
                                   HyperSports, RockNRope,          CircusCharlie, CircusCharlie2};
constexpr GameId kIremGames[] = {RType, RType2, HeroTonma};

constexpr std::array<GameMenuGroup, 3> kGameMenu = {{
    {Atari, "Atari", kAtariGames},
    {Konami, "Konami", kKonamiGames},
    {Irem, "IREM", kIremGames},
}};

} // namespace

const GameInfo* gameInfo(GameId game)
{
    if (!isCatalogueGame(game))
        return nullptr;
    return &kCatalogue[static_cast<std::size_t>(game)];
}

std::span<const GameInfo> gameCatalogue() { return kCatalogue; }

GameId gameForCommand(int command)
{
    if (command == 0)
        return NoGame;
    for (const GameInfo& info : kCatalogue)
        if (info.command == command)
            return info.id;
    return NoGame;
}

std::span<const GameMenuGroup> gameMenuGroups() { return kGameMenu; }

void setGameTitle(GameId game, const char*& titleName)
{
    const GameInfo* info = gameInfo(game);
    if (info && info->title)
        titleName = info->title;
}

} // namespace vortastr
