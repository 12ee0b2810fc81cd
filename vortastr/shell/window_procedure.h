#pragma once
// The main window's behaviour, independent of the window system: menu and accelerator commands
// by identifier, activation, painting and menu tracking. The window forwards its events here.
#include "shell/emulator.h"

namespace vortastr {

// Carries out a command identifier (menu item, accelerator, dialog result). Returns 0 when the
// identifier is known, -1 otherwise.
int dispatchCommand(Emulator& emulator, int command);
// An accelerator key's command. Like the menu item that carries the same identifier, it does
// nothing while that item is greyed (J without a joystick); -1 then.
int dispatchAccelerator(Emulator& emulator, int command);

void onWindowActivate(Emulator& emulator, bool active);
void onApplicationActivate(Emulator& emulator, bool active);
void onPaint(Emulator& emulator);
void onMoveOrSize(Emulator& emulator);
void onInitMenu(Emulator& emulator);
void onExitMenuLoop(Emulator& emulator);
void postQuitMessage(Emulator& emulator);

// A Game menu choice: keep the running game's dip bytes and ask the loop to change game.
void requestGame(Emulator& emulator, GameId game);

struct MenuItemState {
    bool checkable = false;
    bool checked = false;
    bool enabled = true;
};
// Check mark and greying of a menu item as the menu shows them when it opens.
MenuItemState menuItemState(const Emulator& emulator, int command);

} // namespace vortastr
