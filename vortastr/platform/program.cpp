#include "platform/program.h"

#include "boards/rom_files.h"
#include "platform/ini_settings_store.h"
#include "platform/key_state_feed.h"
#include "platform/qt_host.h"
#include "platform/screenshots.h"
#include "platform/sdl_audio_monitor.h"
#include "platform/sdl_joystick.h"
#include "resources/about_text.h"
#include "resources/app_icon.h"
#include "shell/audit_command.h"
#include "shell/startup.h"
#include "sound/sound_session.h"

#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QPixmap>

#include <filesystem>
#include <iostream>
#include <memory>
#include <vector>

namespace vortastr {
namespace {

// Qt keeps a reference to the argument count for the application's lifetime.
int qtArgc = 1;

std::unique_ptr<QCoreApplication> makeApplication(bool headless, char* programName)
{
    static char* qtArgv[] = {programName, nullptr};
    std::unique_ptr<QCoreApplication> app;
    if (headless)
        app = std::make_unique<QCoreApplication>(qtArgc, qtArgv);
    else
        app = std::make_unique<QApplication>(qtArgc, qtArgv);
    QCoreApplication::setApplicationName("vortastr");
    QCoreApplication::setApplicationVersion(QString::fromStdString(versionString()));
    return app;
}

} // namespace

int runProgram(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (isAuditRequest(args))
        return runAuditCommand(args, std::cout, std::cerr);
    const ParseResult parsed = parseCommandLine(args);
    switch (parsed.status) {
    case ParseStatus::Help: std::cout << usageText(); return 0;
    case ParseStatus::Version: std::cout << "vortastr " << versionString() << '\n'; return 0;
    case ParseStatus::UsageError:
        std::cerr << "vortastr: " << parsed.error << "\nTry 'vortastr --help' for more information.\n";
        return 2;
    case ParseStatus::Run: break;
    }
    const LaunchOptions& options = parsed.options;
    std::error_code ec;
    if (!std::filesystem::is_directory(options.romPath, ec)) {
        std::cerr << "vortastr: the ROM folder \"" << options.romPath << "\" does not exist\n";
        return 2;
    }

    auto app = makeApplication(options.headless, argv[0]);
    if (!options.headless)
        QApplication::setWindowIcon(QIcon(QPixmap(appIconXpm())));

    if (!options.screenshotDir.empty())
        return writeScreenshots(options.screenshotDir) ? 0 : 1;

    IniSettingsStore store(options.configPath.empty() ? IniSettingsStore::defaultPath() : options.configPath);
    QtHost host(options.headless);
    QtHost::installQuitSignals();
    // The window's keys feed the key-state table; joysticks are only looked for with a window.
    KeyStateFeed keyFeed;
    std::unique_ptr<SdlJoystickSource> joysticks;
    if (!options.headless) {
        app->installEventFilter(&keyFeed);
        joysticks = std::make_unique<SdlJoystickSource>();
        inputState().joysticks = joysticks.get();
    }
    if (options.headless)
        romFiles().reportNote = [](const std::string& text) { std::cerr << "vortastr: " << text << '\n'; };
    allowSpeakerOutput(!options.headless);
    // A windowed recording mixes in memory; the mix is played from there.
    std::unique_ptr<SdlAudioMonitor> monitor;
    if (!options.headless && !options.wavPath.empty()) {
        monitor = std::make_unique<SdlAudioMonitor>();
        setMixMonitor([m = monitor.get()](const int16_t* samples, std::size_t frames) { m->queue(samples, frames); });
    }
    Emulator emulator;
    const int status = runEmulator(emulator, host, store, options);
    inputState().joysticks = nullptr;
    setMixMonitor(nullptr);
    return status;
}

} // namespace vortastr
