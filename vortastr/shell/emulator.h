#pragma once
// The emulator's process-wide state in one record: settings, run-time state of the shell, the
// display and the colour tables. The program has exactly one; tests make their own.
#include "boards/dip_tables.h"
#include "boards/game_catalogue.h"
#include "shell/settings.h"
#include "video/colour_tables.h"
#include "video/display_state.h"

#include <array>
#include <cstdint>
#include <string>

namespace vortastr {

class ShellHost;

enum PendingAction : int32_t {
    NoAction = 0,
    ActionReset = 1,
    ActionChangeGame = 2,
    ActionSaveState = 3,
    ActionLoadState = 4
};

constexpr int kCpuSlotCount = 2;

struct RunState {
    GameId currentGame = kDefaultGame;
    GameId requestedGame = kDefaultGame;
    const char* titleName = nullptr; // the running game's title, null until a game with one is set
    int32_t cheatMode = 0;
    int32_t useJoystick = 0;
    int32_t joystickPresent = 0;
    int32_t soundEnabled = 0;
    DipBytes dips; // dipA and dipB of the running game
    bool paused = false;
    bool inputSuspended = false; // window inactive: the key and joystick poll reads nothing
    bool quitPosted = false;     // the quit message is waiting in the queue
    bool quitRequested = false;  // the loop has seen it
    int32_t pendingAction = NoAction;
    int cpuCount = 0; // processors scheduled by the running board
    std::array<uint8_t, kCpuSlotCount> interruptEnable{};
    std::array<uint8_t, kCpuSlotCount> savedInterruptEnable{};
    std::string romPath = ".";
};

struct Emulator {
    Settings settings;
    RunState run;
    DisplayState display;
    ColourTables colours;
    ShellHost* host = nullptr;
};

} // namespace vortastr
