// The fixed 320 x 224 main window of korvax with its menu. The emulator's own commands are
// present but disabled; the disc scan, disc images, About and Exit work.
#pragma once

#include <QMainWindow>
#include <functional>
#include <optional>

#include "../core/scanner.h"

class QAction;

namespace korvax {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Adds a disc image to the drives; the drive it became, or nullopt when it cannot be opened.
    using ImageOpener = std::function<std::optional<DriveRef>(const std::string& path)>;
    // Asks for an image file; an empty string when the user cancels.
    using ImageChooser = std::function<QString(QWidget* owner)>;

    MainWindow(DriveAccess& access, ImageOpener openImage, QWidget* parent = nullptr);

    void setImageChooser(ImageChooser chooser) { chooseImage_ = std::move(chooser); }

    // Adds an image given on the command line (a message box when it cannot be opened).
    bool addImage(const std::string& path);

    QAction* action(int commandId) const;
    ScannerState& scannerState() { return state_; }

    void scanDisc();
    void openDiscImage();
    void showAbout();

protected:
    void changeEvent(QEvent* event) override;

private:
    QAction* addCommand(QMenu* menu, const QString& text, int id, bool enabled);

    DriveAccess& access_;
    ImageOpener openImage_;
    ImageChooser chooseImage_;
    ScannerState state_;
    std::map<int, QAction*> actions_;
};

// Menu command identifiers.
enum : int {
    CmdScan = 40001,
    CmdReboot = 40003,
    CmdAbout = 40004,
    CmdOptions = 40005,
    CmdExit = 40006,
    CmdContents = 40007,
    CmdDebugger = 40008,
    CmdOpenImage = 40009,
};

} // namespace korvax
