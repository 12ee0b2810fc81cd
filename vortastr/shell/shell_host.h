#pragma once
// What the shell needs from the windowing side: the main window, its message pump, message
// boxes and modal dialogs. The Qt front-end implements it; tests use a scripted one.
#include "boards/dip_tables.h"
#include "resources/about_text.h"
#include "video/display_state.h"

#include <string>

namespace vortastr {

struct Emulator;

enum class MessageIcon { Error, Warning, Information };

constexpr const char* kErrorCaption = "Emulator Error";
constexpr const char* kWarningCaption = "Emulator Warning";
constexpr const char* kNoteCaption = "NOTE";

class ShellHost : public DipDialogRunner {
public:
    // Creates the main window with its menu and accelerators; false when it cannot.
    virtual bool createMainWindow(Emulator& emulator) = 0;
    virtual void destroyMainWindow() = 0;
    virtual DisplayOutput& displayOutput() = 0;
    // Handles what is waiting in the window system's queue and returns.
    virtual void pumpOneMessage() = 0;
    virtual void messageBox(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
    // Modal About box (dialog 106); returns the command that closed it.
    virtual int runAboutDialog(const AboutText& text) = 0;
    virtual void setCursorVisible(bool visible) = 0;
    // Modal "ROM Audit..." dialog over the sets below the ROM folder; hosts without one skip it.
    virtual void runRomAuditDialog(const std::string& romPath) { (void)romPath; }
    // Writes a screen as a PNG; false with a reason when it cannot.
    virtual bool writeSnapshot(const ScreenSurface& screen, const std::string& path, std::string& error) = 0;
};

} // namespace vortastr
