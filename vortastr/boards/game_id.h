#pragma once
// The games by name and the board families they belong to. Every per-game decision of the
// emulator is a switch over GameId; family membership is defined here, once, and nowhere else.
#include <cstdint>

namespace vortastr {

// Catalogue numbers; the names follow the catalogue's titles (see game_catalogue.cpp).
enum GameId : int32_t {
    NoGame = -1,
    Tank = 0,
    Vanguard = 1,
    Eggs = 2,
    CrystalCastles = 3,
    Zoar = 4,
    Unused5 = 5, // never selected: no board, no menu item, no code
    Unused6 = 6,
    PandorasPalace = 7,
    Tutankham = 8,
    VortaStrike = 9,
    VortaStrikeBootleg = 10,
    TunnelHunt = 11,
    IronHorse = 12,
    SkyKid = 13,
    TrackNField = 14,
    HyperSports = 15,
    RockNRope = 16,
    CircusCharlie = 17,
    JailBreak = 18,
    CircusCharlie2 = 19,
    Tazmania = 20,
    Scramble = 21,
    RopeMan = 22,
    WhizQuiz = 23,
    SuperBond = 24,
    RoadFighters = 25,
    MegaZone = 26,
    RTypeJapanese = 27,
    RType = 28,
    RType2 = 29,
    RTypeLeo = 30,
    MasterT = 31,
    ShaolinsRoad = 32,
    InTheHunt = 33,
    NewZealandStory = 34,
    HeroTonma = 35,
    DragonBreed = 36,
    Kengo = 37,
    UnderCps = 38, // code "uc"; has no title of its own
};

constexpr int32_t kGameCount = 39;           // GameId runs from 0 to 38
constexpr GameId kDefaultGame = VortaStrike; // the game that runs when none is chosen

// True for 0 to 38; use before indexing a per-game array with a number from outside.
constexpr bool isCatalogueGame(int32_t number) { return number >= 0 && number < kGameCount; }
// The catalogue number as a GameId; NoGame for numbers outside the catalogue.
constexpr GameId toGameId(int32_t number) { return isCatalogueGame(number) ? static_cast<GameId>(number) : NoGame; }

// The board families. A family is the set of games that share a board design: one folder
// under boards/ per family holds its memory map, handlers, set-up, interrupt rule, graphics
// and renderer.
enum class BoardFamily : int32_t {
    None,         // 5 and 6, and numbers outside the catalogue
    KonamiBitmap, // 6809 bitmap boards: Tutankham, Vorta Strike and its bootleg
    KonamiTile,   // 6809 tile-and-sprite boards
    IremV30,      // V30 boards
    ScrambleZ80,  // Z80 boards of the Scramble design: Tazmania, Scramble, SuperBond
    StoryZ80,     // the Z80 board of New Zealand Story
    Atari6502,    // 6502 boards
};

constexpr BoardFamily boardFamily(GameId game)
{
    switch (game) {
    case Tutankham:
    case VortaStrike:
    case VortaStrikeBootleg: return BoardFamily::KonamiBitmap;
    case PandorasPalace:
    case IronHorse:
    case SkyKid:
    case TrackNField:
    case HyperSports:
    case RockNRope:
    case CircusCharlie:
    case JailBreak:
    case CircusCharlie2:
    case RopeMan:
    case WhizQuiz:
    case RoadFighters:
    case MegaZone:
    case ShaolinsRoad: return BoardFamily::KonamiTile;
    case RTypeJapanese:
    case RType:
    case RType2:
    case RTypeLeo:
    case MasterT:
    case InTheHunt:
    case HeroTonma:
    case DragonBreed:
    case Kengo:
    case UnderCps: return BoardFamily::IremV30;
    case Tazmania:
    case Scramble:
    case SuperBond: return BoardFamily::ScrambleZ80;
    case NewZealandStory: return BoardFamily::StoryZ80;
    case Tank:
    case Vanguard:
    case Eggs:
    case CrystalCastles:
    case Zoar:
    case TunnelHunt: return BoardFamily::Atari6502;
    default: return BoardFamily::None;
    }
}

constexpr bool isKonamiBitmap(GameId game) { return boardFamily(game) == BoardFamily::KonamiBitmap; }
constexpr bool isKonamiTile(GameId game) { return boardFamily(game) == BoardFamily::KonamiTile; }
constexpr bool isIremV30(GameId game) { return boardFamily(game) == BoardFamily::IremV30; }
constexpr bool isScrambleZ80(GameId game) { return boardFamily(game) == BoardFamily::ScrambleZ80; }
constexpr bool isAtari6502(GameId game) { return boardFamily(game) == BoardFamily::Atari6502; }

// The Irem games whose pictures need a 16-bit screen (the others of the family do not say so).
constexpr bool needs16BitScreen(GameId game)
{
    switch (game) {
    case RTypeJapanese:
    case RType:
    case RType2:
    case HeroTonma:
    case DragonBreed:
    case Kengo: return true;
    default: return false;
    }
}

} // namespace vortastr
