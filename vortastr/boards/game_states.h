#pragma once
// Saved states (F7 saves, F8 loads) of the running game. RType and RType II keep their raw
// "savegame.dat" (rtype_save_file.h); every other running game uses "<folder>\<code>.state"
// below the ROM folder in this emulator's own format (saved_state.h).
#include "boards/game_id.h"
#include "video/colour_tables.h"

#include <string>

namespace vortastr {

constexpr int kStateDone = 0;
constexpr int kStateNothing = -1; // nothing to do (no file to load, a game without states)
constexpr int kStateRefused = -2; // refused or failed; `warning` says why, the game runs on

// "vorta\JN.state" (a game without a code: its folder's name); empty without a folder.
std::string stateFileName(GameId game);

int saveGameState(GameId game, const ColourTables& colours, std::string& warning);
int loadGameState(GameId game, ColourTables& colours, std::string& warning);

// The same on a named file (the command line's --save-state and --load-state).
int saveStateFile(const std::string& path, const ColourTables& colours, std::string& warning);
int loadStateFile(const std::string& path, ColourTables& colours, std::string& warning);

} // namespace vortastr
