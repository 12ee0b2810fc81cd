#pragma once
// The emulator's main window: the menu bar built from the menu resource, the accelerators, the
// display widget, and the window events forwarded to the shell.
#include "resources/menu_resource.h"
#include "shell/emulator.h"
#include "video/display_state.h"

#include <QHash>
#include <QMainWindow>

class QAction;
class QMenu;

namespace vortastr {

class DisplayWidget;

class MainWindow : public QMainWindow, public DisplayOutput {
    Q_OBJECT
public:
    explicit MainWindow(Emulator& emulator, QWidget* parent = nullptr);

    // The menu item carrying a command identifier, or null.
    QAction* menuAction(int command) const { return menuActions_.value(command, nullptr); }
    // The accelerator action of a command (J, K, P, Escape), or null.
    QAction* acceleratorAction(int command) const { return accelerators_.value(command, nullptr); }
    QList<QMenu*> topMenus() const { return topMenus_; }
    QMenu* helpMenu() const { return helpMenu_; }
    DisplayWidget* displayWidget() const { return display_; }
    // Sets the check marks and greying of every item, as a menu does when it opens.
    void refreshMenuStates();

    // DisplayOutput
    std::vector<DisplayMode> listModes() override;
    void showWindowed(int clientWidth, int clientHeight) override;
    void showFullScreen(const DisplayMode& mode) override;
    Rect clientRect() override;
    void present(const ScreenSurface& surface, const Rect& dest, const Rect& source) override;
    void setTitle(const std::string& title) override;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    void buildMenus();
    void buildAccelerators();
    QMenu* buildPopup(const MenuEntry& entry, QWidget* parent);

    Emulator& emulator_;
    DisplayWidget* display_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QList<QMenu*> topMenus_;
    QHash<int, QAction*> menuActions_;
    QHash<int, QAction*> accelerators_;
    int openMenus_ = 0;
};

} // namespace vortastr
