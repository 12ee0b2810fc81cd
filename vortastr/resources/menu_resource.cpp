#include "resources/menu_resource.h"

#include "boards/board_setup.h"
#include "boards/game_catalogue.h"
#include "resources/resource_ids.h"

namespace vortastr {
namespace {

MenuEntry item(std::string text, int command) { return {MenuEntry::Kind::Item, std::move(text), command, {}, false}; }
MenuEntry separator() { return {MenuEntry::Kind::Separator, "", 0, {}, false}; }
MenuEntry popup(const char* text, std::vector<MenuEntry> children, bool right = false)
{
    return {MenuEntry::Kind::Popup, text, 0, std::move(children), right};
}

// A title as item text: an ampersand in it is shown, not taken for a mnemonic mark.
std::string menuItemText(const char* title)
{
    std::string text;
    for (const char* c = title; *c; ++c) {
        text += *c;
        if (*c == '&')
            text += '&';
    }
    return text;
}

MenuEntry gameMenu()
{
    std::vector<MenuEntry> groups;
    for (const GameMenuGroup& group : gameMenuGroups()) {
        std::vector<MenuEntry> games;
        for (GameId id : group.games) {
            const GameInfo* info = gameInfo(id);
            games.push_back(item(info->menuText, info->command));
        }
        groups.push_back(popup(group.text, std::move(games)));
    }
    std::vector<MenuEntry> more;
    for (GameId id : moreMenuGames())
        more.push_back(item(moreMenuText(id), gameInfo(id)->command));
    if (!more.empty())
        groups.push_back(popup("More", std::move(more)));
    return popup("&Game", std::move(groups));
}

std::vector<MenuEntry> buildMainMenu()
{
    return {
        popup("&File", {item("&Keyboard", CmdKeyboard), item("&Joystick", CmdJoystick), separator(),
                        item("&Sound", CmdSound), separator(), item("&Pause", CmdPause), separator(),
                        item("ROM Audit...", CmdRomAudit), separator(), item("&Exit", CmdExit)}),
        gameMenu(),
        popup("&Screen", {item("Full Screen", CmdFullScreen), separator(), item("Palette Cycling", CmdPaletteCycling),
                          separator(), item("1x1", CmdScale1), item("2x2", CmdScale2), item("3x3", CmdScale3)}),
        popup("&Refresh",
              {item("Never", CmdNever), item("Every Frame", CmdEveryFrame), item("Every 2nd Frame", CmdEvery2ndFrame),
               item("Every 3rd Frame", CmdEvery3rdFrame), item("Every 4th Frame", CmdEvery4thFrame)}),
        popup("&DipSw", {item("Set Dipswitches", CmdSetDipswitches), separator(), item("Reset", CmdReset)}),
        popup("Help", {item("About", CmdAbout)}, true),
    };
}

void collectCommands(const std::vector<MenuEntry>& entries, std::vector<int>& out)
{
    for (const MenuEntry& e : entries) {
        if (e.kind == MenuEntry::Kind::Item)
            out.push_back(e.command);
        else if (e.kind == MenuEntry::Kind::Popup)
            collectCommands(e.children, out);
    }
}

} // namespace

const std::vector<MenuEntry>& mainMenu()
{
    static const std::vector<MenuEntry> menu = buildMainMenu();
    return menu;
}

std::vector<GameId> moreMenuGames()
{
    std::vector<GameId> games;
    for (const GameInfo& info : gameCatalogue())
        if (info.group == MenuGroup::None && info.command != 0 && boardAvailable(info.id))
            games.push_back(info.id);
    return games;
}

std::string moreMenuText(GameId game)
{
    const GameInfo* info = gameInfo(game);
    if (!info)
        return {};
    // A game without a title is shown by its ROM folder, as the ROM audit names it.
    return info->title ? menuItemText(info->title) : info->romDirectory;
}

std::vector<int> menuCommands(const std::vector<MenuEntry>& menu)
{
    std::vector<int> commands;
    collectCommands(menu, commands);
    return commands;
}

const MenuEntry* findMenuItem(const std::vector<MenuEntry>& menu, int command)
{
    for (const MenuEntry& e : menu) {
        if (e.kind == MenuEntry::Kind::Item && e.command == command)
            return &e;
        if (e.kind == MenuEntry::Kind::Popup)
            if (const MenuEntry* found = findMenuItem(e.children, command))
                return found;
    }
    return nullptr;
}

const std::vector<Accelerator>& acceleratorTable()
{
    static const std::vector<Accelerator> table = {
        {AccelKey::J, CmdJoystick}, {AccelKey::K, CmdKeyboard}, {AccelKey::P, CmdPause}, {AccelKey::Escape, CmdExit}};
    return table;
}

std::string plainMenuText(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&')
                out += '&', ++i;
            continue;
        }
        out += text[i];
    }
    return out;
}

} // namespace vortastr
