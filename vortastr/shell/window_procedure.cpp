#include "shell/window_procedure.h"

#include "resources/resource_ids.h"
#include "shell/shell_host.h"

#include <functional>

namespace vortastr {
namespace {

ShellHost* hostOf(Emulator& emu) { return emu.host; }

void showCursorInFullScreen(Emulator& emu, bool visible)
{
    if (emu.display.fullScreen && emu.host)
        emu.host->setCursorVisible(visible);
}

void message(Emulator& emu, const char* text, const char* caption, MessageIcon icon)
{
    if (ShellHost* host = hostOf(emu))
        host->messageBox(text, caption, icon);
}

// The interrupt-enable latches of the scheduled processors, kept aside during a pause.
void holdInterruptLatches(RunState& run, bool clear)
{
    for (int i = 0; i < run.cpuCount && i < kCpuSlotCount; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        run.savedInterruptEnable[slot] = run.interruptEnable[slot];
        if (clear)
            run.interruptEnable[slot] = 0;
    }
}

void releaseInterruptLatches(RunState& run)
{
    for (int i = 0; i < run.cpuCount && i < kCpuSlotCount; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        run.interruptEnable[slot] = run.savedInterruptEnable[slot];
    }
}

void togglePause(Emulator& emu)
{
    RunState& run = emu.run;
    run.paused = !run.paused;
    if (run.paused)
        holdInterruptLatches(run, true);
    else
        releaseInterruptLatches(run);
}

// The About box and the ROM audit: a modal dialog over the display.
void runModal(Emulator& emu, const std::function<void(ShellHost& host)>& dialog)
{
    showCursorInFullScreen(emu, true);
    displayFlipToGdi(emu.display);
    displayEnterDialog(emu.display);
    if (emu.host)
        dialog(*emu.host);
    showCursorInFullScreen(emu, false);
    displayLeaveDialog(emu.display);
    displayClear(emu.display);
}

void runDipSwitches(Emulator& emu)
{
    showCursorInFullScreen(emu, true);
    displayEnterDialog(emu.display);
    if (emu.host)
        runDipDialog(emu.run.currentGame, emu.run.dips, *emu.host);
    displayLeaveDialog(emu.display);
    displayClear(emu.display);
    showCursorInFullScreen(emu, false);
}

void toggleSound(Emulator& emu)
{
    emu.run.soundEnabled = emu.run.soundEnabled ? 0 : 1;
    displayFlipToGdi(emu.display);
    message(emu, "Note : The sound setting will not take effect until you restart the emulator", kNoteCaption,
            MessageIcon::Information);
    displayClear(emu.display);
}

void toggleFullScreen(Emulator& emu)
{
    showCursorInFullScreen(emu, true);
    emu.settings.fullScreenSetting = emu.settings.fullScreenSetting == 1 ? 0 : 1;
    displayFlipToGdi(emu.display);
    message(emu, "Screen mode will not change until the Emulator is restarted", kWarningCaption,
            MessageIcon::Information);
    displayClear(emu.display);
    showCursorInFullScreen(emu, false);
}

int frameDisplayOf(int command)
{
    switch (command) {
    case CmdEveryFrame: return 1;
    case CmdEvery2ndFrame: return 2;
    case CmdEvery3rdFrame: return 3;
    case CmdEvery4thFrame: return 4;
    case CmdNever: return kFrameDisplayNever;
    default: return 0;
    }
}

} // namespace

void postQuitMessage(Emulator& emu) { emu.run.quitPosted = true; }

void requestGame(Emulator& emu, GameId game)
{
    if (emu.display.paletted && !emu.display.fullScreen && needs16BitScreen(game))
        message(emu, "NOTE - This game will only run on a 16bit desktop", kWarningCaption, MessageIcon::Information);
    const auto running = static_cast<std::size_t>(emu.run.currentGame);
    if (running < emu.settings.savedDipA.size()) {
        emu.settings.savedDipA[running] = emu.run.dips.a;
        emu.settings.savedDipB[running] = emu.run.dips.b;
    }
    emu.run.requestedGame = game;
    emu.run.pendingAction = ActionChangeGame;
}

int dispatchCommand(Emulator& emu, int command)
{
    if (const int frames = frameDisplayOf(command)) {
        emu.settings.frameDisplay = frames;
        return 0;
    }
    switch (command) {
    case CmdExit:
    case CmdCancel: postQuitMessage(emu); return 0;
    case CmdScale1: displaySetWindowScale(emu.display, 1, 1); return 0;
    case CmdScale2: displaySetWindowScale(emu.display, 2, 2); return 0;
    case CmdScale3: displaySetWindowScale(emu.display, 3, 3); return 0;
    case CmdReset: emu.run.pendingAction = ActionReset; return 0;
    case CmdPause: togglePause(emu); return 0;
    case CmdAbout: runModal(emu, [](ShellHost& host) { host.runAboutDialog(aboutText()); }); return 0;
    case CmdRomAudit: runModal(emu, [&emu](ShellHost& host) { host.runRomAuditDialog(emu.run.romPath); }); return 0;
    case CmdKeyboard: emu.run.useJoystick = 0; return 0;
    case CmdJoystick: emu.run.useJoystick = 1; return 0;
    case CmdPaletteCycling: emu.settings.paletteCycling = emu.settings.paletteCycling == 1 ? 0 : 1; return 0;
    case CmdSound: toggleSound(emu); return 0;
    case CmdSetDipswitches: runDipSwitches(emu); return 0;
    case CmdFullScreen: toggleFullScreen(emu); return 0;
    default: break;
    }
    if (const GameId game = gameForCommand(command); game != NoGame) {
        requestGame(emu, game);
        return 0;
    }
    return -1;
}

int dispatchAccelerator(Emulator& emu, int command)
{
    if (!menuItemState(emu, command).enabled)
        return -1;
    return dispatchCommand(emu, command);
}

void onWindowActivate(Emulator& emu, bool active)
{
    if (!active) {
        displayReapplyPalette(emu.display);
        emu.run.inputSuspended = true;
        emu.display.suspended = true;
        return;
    }
    emu.run.inputSuspended = false;
    emu.display.suspended = false;
    displayClear(emu.display);
}

void onApplicationActivate(Emulator& emu, bool active)
{
    if (active) {
        setWindowTitle(emu.display, emu.run.titleName, nullptr);
        // Whichever way the pause began, its latches come back: a pause from the menu cleared
        // them, and a game whose interrupts stayed off would never run again.
        if (emu.run.paused)
            releaseInterruptLatches(emu.run);
        emu.run.paused = false;
        emu.run.inputSuspended = false;
        emu.display.suspended = false;
        displayClear(emu.display);
        return;
    }
    setWindowTitle(emu.display, emu.run.titleName, kPausedStatus);
    displayReapplyPalette(emu.display);
    // This pause leaves the latches as they are; they are only noted for the activation.
    if (!emu.run.paused)
        holdInterruptLatches(emu.run, false);
    emu.run.paused = true;
}

void onPaint(Emulator& emu)
{
    displayClear(emu.display);
    if (emu.run.paused)
        displayPresent(emu.display);
}

void onMoveOrSize(Emulator& emu) { displayUpdateClientRect(emu.display); }

void onInitMenu(Emulator& emu)
{
    displayFlipToGdi(emu.display);
    showCursorInFullScreen(emu, true);
}

void onExitMenuLoop(Emulator& emu)
{
    if (!emu.display.fullScreen)
        return;
    displayClear(emu.display);
    showCursorInFullScreen(emu, false);
}

MenuItemState menuItemState(const Emulator& emu, int command)
{
    const Settings& s = emu.settings;
    const RunState& run = emu.run;
    if (const int frames = frameDisplayOf(command))
        return {true, s.frameDisplay == frames, true};
    switch (command) {
    case CmdFullScreen: return {true, s.fullScreenSetting == 1, true};
    case CmdPaletteCycling: return {true, s.paletteCycling == 1, emu.display.paletted};
    case CmdPause: return {true, run.paused, true};
    case CmdKeyboard: return {true, run.useJoystick == 0, true};
    case CmdJoystick: return {true, run.useJoystick == 1, run.joystickPresent != 0};
    case CmdSound: return {true, run.soundEnabled != 0, true};
    case CmdScale1:
    case CmdScale2:
    case CmdScale3: return {false, false, !emu.display.fullScreen};
    default: break;
    }
    if (const GameId game = gameForCommand(command); game != NoGame)
        return {true, game == run.currentGame, true};
    return {};
}

} // namespace vortastr
