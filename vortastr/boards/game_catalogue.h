#pragma once
// The catalogue of games the emulator knows: numbers, names, menu entries, command-line
// codes, ROM folders and the processor each board runs. One table, indexed by GameId.
#include "boards/game_id.h"
#include "cpu/cpu_kind.h"

#include <array>
#include <cstdint>
#include <span>

namespace vortastr {

enum class MenuGroup { None, Atari, Konami, Irem };

struct GameInfo {
    GameId id;
    const char* title;        // window title name; null where the game has none (5, 6, 38)
    MenuGroup group;          // sub-menu of the Game menu holding its item, None when not in the menu
    const char* menuText;     // item text as the menu shows it ("&&" is one ampersand); null when not in the menu
    int command;              // menu command identifier; 0 when the game has none
    const char* code;         // two-letter command-line code; null when the game has none
    const char* romDirectory; // folder of its ROM set; null for identifiers without a board
    CpuKind cpu;
    bool hasBoard; // false for 5 and 6, which are never selected
};

// Row of the catalogue for a game; null for numbers outside 0..38.
const GameInfo* gameInfo(GameId game);
std::span<const GameInfo> gameCatalogue();

// GameId recognised for a command identifier (menu items and the identifiers that no shipped
// item carries), or NoGame.
GameId gameForCommand(int command);

// One sub-menu of the Game menu: its text and its games in menu order.
struct GameMenuGroup {
    MenuGroup group;
    const char* text;
    std::span<const GameId> games;
};
std::span<const GameMenuGroup> gameMenuGroups();

// Points titleName at the game's title; games without a title leave it unchanged.
void setGameTitle(GameId game, const char*& titleName);

} // namespace vortastr
