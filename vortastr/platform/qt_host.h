#pragma once
// The shell's host on Qt: the main window (or none in headless mode), the message pump over
// QCoreApplication::processEvents, message boxes and modal dialogs. Message boxes and dialog
// runs go through replaceable functions so that tests can answer them.
#include "platform/headless_output.h"
#include "shell/shell_host.h"

#include <functional>
#include <memory>

class QDialog;

namespace vortastr {

class MainWindow;

class QtHost : public ShellHost {
public:
    using MessageHandler = std::function<void(const std::string& text, const std::string& caption, MessageIcon)>;
    using DialogRunner = std::function<int(QDialog& dialog)>;

    explicit QtHost(bool headless);
    ~QtHost() override;

    bool headless() const { return headless_; }
    MainWindow* mainWindow() const { return window_.get(); }
    void setMessageHandler(MessageHandler handler) { messageHandler_ = std::move(handler); }
    void setDialogRunner(DialogRunner runner) { dialogRunner_ = std::move(runner); }

    bool createMainWindow(Emulator& emulator) override;
    void destroyMainWindow() override;
    DisplayOutput& displayOutput() override;
    void pumpOneMessage() override;
    void messageBox(const std::string& text, const std::string& caption, MessageIcon icon) override;
    int runAboutDialog(const AboutText& text) override;
    int runDipDialog(DipDialogSession& session) override;
    void runRomAuditDialog(const std::string& romPath) override;
    void setCursorVisible(bool visible) override;
    bool writeSnapshot(const ScreenSurface& screen, const std::string& path, std::string& error) override;

    // Ends the run in an orderly way from a signal (SIGINT, SIGTERM).
    static void installQuitSignals();

private:
    bool headless_;
    Emulator* emulator_ = nullptr;
    std::unique_ptr<MainWindow> window_;
    HeadlessOutput headlessOutput_;
    MessageHandler messageHandler_;
    DialogRunner dialogRunner_;
};

// Writes the surface (through its palette or widened from 5-6-5) as a PNG.
bool writeSurfacePng(const ScreenSurface& screen, const std::string& path, std::string& error);

} // namespace vortastr
