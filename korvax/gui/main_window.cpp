#include "main_window.h"

#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QMenuBar>

#include "../core/image_problem.h"
#include "../core/messages.h"
#include "about_dialog.h"
#include "explore_dialog.h"
#include "message_box.h"
#include "program_icon.h"

namespace korvax {
namespace {

QString askForImage(QWidget* owner)
{
    return QFileDialog::getOpenFileName(owner, QStringLiteral("Open Disc Image"), QString(),
                                        QStringLiteral("Disc images (*.iso *.bin *.cue *.toc *.nrg);;All files (*)"));
}

} // namespace

MainWindow::MainWindow(DriveAccess& access, ImageOpener openImage, QWidget* parent)
    : QMainWindow(parent), access_(access), openImage_(std::move(openImage)), chooseImage_(askForImage)
{
    // A caption, a system menu and a minimise box: neither resizable nor maximisable.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowIcon(programIcon());
    setWindowTitle(QStringLiteral("Korvax"));

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    addCommand(file, QStringLiteral("&Reboot Emulator ( Start Disc )"), CmdReboot, false);
    addCommand(file, QStringLiteral("&Scan Sega Saturn (tm) CD..."), CmdScan, true);
    addCommand(file, QStringLiteral("Open Disc &Image..."), CmdOpenImage, true);
    addCommand(file, QStringLiteral("Start &Debugger..."), CmdDebugger, false);
    file->addSeparator();
    addCommand(file, QStringLiteral("&Options"), CmdOptions, false);
    addCommand(file, QStringLiteral("E&xit"), CmdExit, true);
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    addCommand(help, QStringLiteral("&Contents"), CmdContents, false);
    addCommand(help, QStringLiteral("&About Korvax..."), CmdAbout, true);

    connect(action(CmdScan), &QAction::triggered, this, &MainWindow::scanDisc);
    connect(action(CmdOpenImage), &QAction::triggered, this, &MainWindow::openDiscImage);
    connect(action(CmdAbout), &QAction::triggered, this, &MainWindow::showAbout);
    connect(action(CmdExit), &QAction::triggered, this, &QWidget::close);

    // The client area shows nothing but an etched line under the menu bar.
    auto* client = new QWidget;
    client->setBackgroundRole(QPalette::Base);
    client->setAutoFillBackground(true);
    auto* line = new QFrame(client);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setGeometry(0, 0, 8000, 2);
    setCentralWidget(client);

    setFixedSize(320, 224);
    setWindowTitle(QStringLiteral("Korvax - [ No Game Available to Load ]"));
}

// The window has one size: a request to maximise (or go full screen) leaves it at 320 x 224.
void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    constexpr Qt::WindowStates large = Qt::WindowMaximized | Qt::WindowFullScreen;
    if (event->type() == QEvent::WindowStateChange && (windowState() & large)) {
        setWindowState(windowState() & ~large);
        resize(320, 224);
    }
}

QAction* MainWindow::addCommand(QMenu* menu, const QString& text, int id, bool enabled)
{
    QAction* a = menu->addAction(text);
    a->setEnabled(enabled);
    a->setData(id);
    actions_[id] = a;
    return a;
}

QAction* MainWindow::action(int commandId) const
{
    const auto it = actions_.find(commandId);
    return it == actions_.end() ? nullptr : it->second;
}

bool MainWindow::addImage(const std::string& path)
{
    if (openImage_ && openImage_(path))
        return true;
    showMessageBox(this, imageOpenFaultText(path, imageOpenProblem(path)), kCaptionError);
    return false;
}

void MainWindow::scanDisc()
{
    ExploreDialog dialog(state_, access_, this);
    dialog.exec();
}

// An opened image joins the drive list; the Explore dialog opens with it selected.
void MainWindow::openDiscImage()
{
    const QString path = chooseImage_ ? chooseImage_(this) : QString();
    if (path.isEmpty())
        return;
    const std::string file = QFile::encodeName(path).toStdString();
    const std::optional<DriveRef> image = openImage_ ? openImage_(file) : std::nullopt;
    if (!image) {
        showMessageBox(this, imageOpenFaultText(file, imageOpenProblem(file)), kCaptionError);
        return;
    }
    ExploreDialog dialog(state_, access_, this);
    if (!dialog.populate())
        return;
    dialog.selectDrive(image->name);
    dialog.QDialog::exec();
}

void MainWindow::showAbout()
{
    AboutDialog dialog(this);
    dialog.exec();
}

} // namespace korvax
