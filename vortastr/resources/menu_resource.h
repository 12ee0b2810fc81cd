#pragma once
// The main window's menu (resource 102) and accelerator table (resource 103) as data.
#include "boards/game_id.h"

#include <string>
#include <vector>

namespace vortastr {

struct MenuEntry {
    enum class Kind { Item, Separator, Popup };
    Kind kind = Kind::Item;
    std::string text;                // "&" marks the mnemonic, "&&" is a literal ampersand
    int command = 0;                 // items only
    std::vector<MenuEntry> children; // popups only
    bool rightJustified = false;     // top-level popups only
};

// The top-level popups in order: "&File", "&Game", "&Screen", "&Refresh", "&DipSw", "Help".
const std::vector<MenuEntry>& mainMenu();

// The games the "More" sub-menu of "&Game" lists, in catalogue order: every game outside the
// shipped sub-menus whose board this build runs and that has a command identifier of its own.
std::vector<GameId> moreMenuGames();
// Item text of a game in the "More" sub-menu: its title ("&" doubled), or its ROM folder when
// it has no title.
std::string moreMenuText(GameId game);

// Every item command of the menu tree, depth first.
std::vector<int> menuCommands(const std::vector<MenuEntry>& menu);
// The item carrying a command, or null.
const MenuEntry* findMenuItem(const std::vector<MenuEntry>& menu, int command);

enum class AccelKey { J, K, P, Escape };
struct Accelerator {
    AccelKey key; // plain key, no modifier
    int command;
};
const std::vector<Accelerator>& acceleratorTable();

// Menu text without mnemonic marks: "&Exit" -> "Exit", "Track && Field" -> "Track & Field".
std::string plainMenuText(const std::string& text);

} // namespace vortastr
