#include "platform/main_window.h"

#include "platform/display_widget.h"
#include "resources/menu_resource.h"
#include "shell/window_procedure.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>

namespace vortastr {
namespace {

QKeySequence keyOf(AccelKey key)
{
    switch (key) {
    case AccelKey::J: return QKeySequence(Qt::Key_J);
    case AccelKey::K: return QKeySequence(Qt::Key_K);
    case AccelKey::P: return QKeySequence(Qt::Key_P);
    case AccelKey::Escape: return QKeySequence(Qt::Key_Escape);
    }
    return {};
}

} // namespace

MainWindow::MainWindow(Emulator& emulator, QWidget* parent) : QMainWindow(parent), emulator_(emulator)
{
    setObjectName("mainWindow");
    setWindowTitle(kInitialWindowCaption);
    setWindowIcon(QApplication::windowIcon());
    display_ = new DisplayWidget(this);
    display_->setObjectName("display");
    setCentralWidget(display_);
    buildMenus();
    buildAccelerators();
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) { onApplicationActivate(emulator_, state == Qt::ApplicationActive); });
}

QMenu* MainWindow::buildPopup(const MenuEntry& entry, QWidget* parent)
{
    auto* menu = new QMenu(QString::fromStdString(entry.text), parent);
    for (const MenuEntry& child : entry.children) {
        switch (child.kind) {
        case MenuEntry::Kind::Separator: menu->addSeparator(); break;
        case MenuEntry::Kind::Popup: menu->addMenu(buildPopup(child, menu)); break;
        case MenuEntry::Kind::Item: {
            QAction* action = menu->addAction(QString::fromStdString(child.text));
            const int command = child.command;
            action->setData(command);
            action->setCheckable(menuItemState(emulator_, command).checkable);
            connect(action, &QAction::triggered, this, [this, command] { dispatchCommand(emulator_, command); });
            menuActions_.insert(command, action);
            break;
        }
        }
    }
    // Opening any popup refreshes the marks, as the window does when a popup is about to show.
    connect(menu, &QMenu::aboutToShow, this, &MainWindow::refreshMenuStates);
    return menu;
}

void MainWindow::buildMenus()
{
    // The right-justified Help menu sits in a small menu bar of its own in the top-right corner.
    auto* helpBar = new QMenuBar(menuBar());
    for (const MenuEntry& entry : mainMenu()) {
        QMenu* menu = buildPopup(entry, menuBar());
        menu->setObjectName(QString::fromStdString(plainMenuText(entry.text)));
        if (entry.rightJustified) {
            helpBar->addMenu(menu);
            helpMenu_ = menu;
        } else {
            menuBar()->addMenu(menu);
        }
        topMenus_.push_back(menu);
        connect(menu, &QMenu::aboutToShow, this, [this] {
            if (openMenus_++ == 0)
                onInitMenu(emulator_);
        });
        connect(menu, &QMenu::aboutToHide, this, [this] {
            if (openMenus_ > 0 && --openMenus_ == 0)
                onExitMenuLoop(emulator_);
        });
    }
    menuBar()->setCornerWidget(helpBar, Qt::TopRightCorner);
}

void MainWindow::buildAccelerators()
{
    for (const Accelerator& accelerator : acceleratorTable()) {
        auto* action = new QAction(this);
        action->setShortcut(keyOf(accelerator.key));
        action->setShortcutContext(Qt::WindowShortcut);
        const int command = accelerator.command;
        connect(action, &QAction::triggered, this, [this, command] { dispatchAccelerator(emulator_, command); });
        addAction(action);
        accelerators_.insert(command, action);
    }
}

void MainWindow::refreshMenuStates()
{
    for (auto it = menuActions_.begin(); it != menuActions_.end(); ++it) {
        const MenuItemState state = menuItemState(emulator_, it.key());
        it.value()->setCheckable(state.checkable);
        it.value()->setChecked(state.checked);
        it.value()->setEnabled(state.enabled);
    }
}

std::vector<DisplayMode> MainWindow::listModes() { return virtualDisplayModes(); }

void MainWindow::showWindowed(int clientWidth, int clientHeight)
{
    if (isFullScreen()) {
        setWindowFlag(Qt::FramelessWindowHint, false);
        showNormal();
    }
    display_->setKeepAspect(false);
    const int menuHeight = menuBar()->isVisible() || !isVisible() ? menuBar()->sizeHint().height() : 0;
    resize(clientWidth, clientHeight + menuHeight);
    // The menu bar may wrap or the style may add margins: correct by what the display got.
    const QSize got = display_->size();
    if (got.width() > 0 && (got.width() != clientWidth || got.height() != clientHeight))
        resize(width() + clientWidth - got.width(), height() + clientHeight - got.height());
}

void MainWindow::showFullScreen(const DisplayMode&)
{
    setWindowFlag(Qt::FramelessWindowHint, true);
    QMainWindow::showFullScreen();
    display_->setKeepAspect(true);
}

Rect MainWindow::clientRect()
{
    const QPoint origin = display_->mapToGlobal(QPoint(0, 0));
    return {origin.x(), origin.y(), origin.x() + display_->width(), origin.y() + display_->height()};
}

void MainWindow::present(const ScreenSurface& surface, const Rect&, const Rect& source)
{
    display_->show(surface, source);
}

void MainWindow::setTitle(const std::string& title) { setWindowTitle(QString::fromStdString(title)); }

void MainWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange)
        onWindowActivate(emulator_, isActiveWindow());
    QMainWindow::changeEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Closing asks the loop to end; the window goes when the program shuts down.
    event->ignore();
    postQuitMessage(emulator_);
}

void MainWindow::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    onMoveOrSize(emulator_);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    onMoveOrSize(emulator_);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    onPaint(emulator_);
}

bool MainWindow::event(QEvent* event)
{
    // Uncovering or restoring the window is where the old window system asked for a repaint.
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        onPaint(emulator_);
    return QMainWindow::event(event);
}

} // namespace vortastr
