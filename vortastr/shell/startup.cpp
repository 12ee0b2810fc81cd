#include "shell/startup.h"

#include "shell/frame_loop.h"
#include "shell/main_loop.h"
#include "shell/shell_host.h"
#include "shell/tick_timer.h"
#include "sound/sound_session.h"

namespace vortastr {
namespace {

void setDipDefaultsForEveryGame(Settings& settings)
{
    for (int32_t number = 0; number < kGameCount; ++number) {
        const GameId game = toGameId(number);
        const DipBytes dips = dipDefaults(game);
        settings.savedDipA[static_cast<std::size_t>(game)] = dips.a;
        settings.savedDipB[static_cast<std::size_t>(game)] = dips.b;
    }
}

void takeSavedDips(Emulator& emu)
{
    const auto game = static_cast<std::size_t>(emu.run.currentGame);
    emu.run.dips.a = static_cast<uint8_t>(emu.settings.savedDipA[game]);
    emu.run.dips.b = static_cast<uint8_t>(emu.settings.savedDipB[game]);
}

} // namespace

bool startDisplay(Emulator& emu, ShellHost& host)
{
    DisplayState& display = emu.display;
    display.scaleSettingX = &emu.settings.windowScaleX;
    display.scaleSettingY = &emu.settings.windowScaleY;
    if (emu.settings.fullScreenSetting == 1)
        displayInitFullScreen(display, host.displayOutput());
    else
        displayInitWindowed(display, host.displayOutput());
    setWindowTitle(display, emu.run.titleName, nullptr);
    if (displayCreateSurfaces(display, emu.settings.windowScaleX, emu.settings.windowScaleY) != 0)
        return false;
    if (display.fullScreen)
        host.setCursorVisible(false);
    return true;
}

int prepareStartUp(Emulator& emu, SettingsStore& store, const LaunchOptions& options)
{
    setDipDefaultsForEveryGame(emu.settings);
    emu.run.cpuCount = 0;
    emu.settings.fullScreenSetting = 0;
    const int loaded = loadSettings(settingsTable(emu.settings), store);

    const GameLineChoice choice = parseGameLine(options.gameLine);
    emu.run.currentGame = choice.game;
    emu.run.requestedGame = choice.game;
    if (choice.cheat)
        emu.run.cheatMode = 1;
    if (choice.fullScreen)
        emu.settings.fullScreenSetting = *choice.fullScreen;
    emu.run.romPath = options.romPath;
    emu.display.desktopFormat = options.depth == 8 ? PixelFormat::Indexed8 : PixelFormat::Rgb565;

    setGameTitle(emu.run.currentGame, emu.run.titleName);
    setWindowTitle(emu.display, emu.run.titleName, nullptr);
    takeSavedDips(emu);
    return loaded;
}

void writeBackRunState(Emulator& emu)
{
    emu.settings.joystickSetting = emu.run.useJoystick == 1 ? 1 : 0;
    emu.settings.soundSetting = emu.run.soundEnabled != 0 ? 1 : 0;
    const auto game = static_cast<std::size_t>(emu.run.currentGame);
    emu.settings.savedDipA[game] = emu.run.dips.a;
    emu.settings.savedDipB[game] = emu.run.dips.b;
}

int runEmulator(Emulator& emu, ShellHost& host, SettingsStore& store, const LaunchOptions& options)
{
    emu.host = &host;
    prepareStartUp(emu, store, options);

    if (!host.createMainWindow(emu))
        return 1;

    if (!startDisplay(emu, host)) {
        host.messageBox(kNoFullScreenModeMessage, kErrorCaption, MessageIcon::Error);
        displayShutdown(emu.display);
        host.destroyMainWindow();
        return 1;
    }
    if (!emu.display.paletted && emu.display.pixelFormat.bitsPerPixel > 16)
        host.messageBox(kDeepDesktopMessage, kErrorCaption, MessageIcon::Error);

    // No joystick support is attached yet, so the keyboard is used.
    emu.run.joystickPresent = 0;
    emu.run.useJoystick = emu.run.joystickPresent && emu.settings.joystickSetting == 1 ? 1 : 0;
    emu.run.soundEnabled = emu.settings.soundSetting == 1 ? 1 : 0;
    std::string soundError;
    if (!startSound({emu.run.soundEnabled != 0, options.headless, options.wavPath}, soundError)) {
        host.messageBox("Couldn't record the sound: " + soundError, kErrorCaption, MessageIcon::Error);
        displayShutdown(emu.display);
        host.destroyMainWindow();
        return 1;
    }

    TickTimer timer;
    timer.start();
    timer.setCounting(true);

    const GameRunResult game = runGame(emu, options);

    if (game.writeSettings) {
        writeBackRunState(emu);
        if (saveSettings(settingsTable(emu.settings), store) != 1)
            host.messageBox("Couldn't save the settings to \"" + store.location() +
                                "\"; the changes of this run are lost",
                            kWarningCaption, MessageIcon::Warning);
    }

    timer.stop();
    int status = game.exitStatus;
    if (status == 0 && !options.snapshotPath.empty()) {
        std::string error;
        if (!emu.display.hasPresented) {
            host.messageBox("No screen was presented, so there is no snapshot to write", kErrorCaption,
                            MessageIcon::Error);
            status = 1;
        } else if (!host.writeSnapshot(emu.display.presented, options.snapshotPath, error)) {
            host.messageBox("Couldn't write the snapshot \"" + options.snapshotPath + "\": " + error, kErrorCaption,
                            MessageIcon::Error);
            status = 1;
        }
    }
    if (!stopSound(soundError)) {
        host.messageBox("Couldn't record the sound: " + soundError, kErrorCaption, MessageIcon::Error);
        status = 1;
    }
    displayShutdown(emu.display);
    host.destroyMainWindow();
    return status;
}

} // namespace vortastr
