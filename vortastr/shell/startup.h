#pragma once
// Start-up and shutdown of the emulator around its loop.
#include "shell/command_line.h"
#include "shell/emulator.h"
#include "shell/settings.h"

namespace vortastr {

class ShellHost;

// Message and caption when full screen offers none of the modes the emulator can draw in.
constexpr const char* kNoFullScreenModeMessage =
    "ERROR - No full screen mode of 400 x 300, 512 x 384 or 640 x 400 at 16 bits is available.\n"
    "Start the emulator with -window to play in a window.";
constexpr const char* kDeepDesktopMessage = "ERROR - 24 or 32 bit desktops are not supported. Change to a 16bit format";

// Everything that happens before the window exists: dip defaults for every game, the stored
// settings, the game code and switches, the title, the running game's dip bytes. Returns the result of loadSettings.
int prepareStartUp(Emulator& emulator, SettingsStore& store, const LaunchOptions& options);

// Display start-up on the created window: windowed or full screen by the setting, the screen
// surface, the cleared picture, the title. False when full screen has no usable mode.
bool startDisplay(Emulator& emulator, ShellHost& host);

// The whole run: start-up, the loop, writing the settings back and shutdown. Returns the exit
// status: 0 after a normal end, 1 when the program had to stop.
int runEmulator(Emulator& emulator, ShellHost& host, SettingsStore& store, const LaunchOptions& options);

// What a normal end writes back before saving: joystick and sound choices, and the running
// game's dip bytes.
void writeBackRunState(Emulator& emulator);

} // namespace vortastr
