#include "platform/qt_host.h"

#include "platform/about_dialog.h"
#include "platform/audit_dialog.h"
#include "platform/dip_dialog.h"
#include "platform/display_widget.h"
#include "platform/main_window.h"
#include "platform/quit_signals.h"
#include "platform/whole_file_write.h"
#include "resources/resource_ids.h"
#include "shell/window_procedure.h"

#include <QApplication>
#include <QBuffer>
#include <QCoreApplication>
#include <QImageWriter>
#include <QMessageBox>

#include <iostream>

namespace vortastr {
namespace {

QMessageBox::Icon iconOf(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Information: return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QtHost::QtHost(bool headless) : headless_(headless)
{
    // After SIGINT/SIGTERM no new window waits for the user: the program is on its way out.
    dialogRunner_ = [](QDialog& dialog) { return quitSignalled() ? int(QDialog::Rejected) : dialog.exec(); };
    messageHandler_ = [this](const std::string& text, const std::string& caption, MessageIcon icon) {
        if (headless_ || quitSignalled() || !qobject_cast<QApplication*>(QCoreApplication::instance())) {
            std::cerr << caption << ": " << text << '\n';
            return;
        }
        QMessageBox box(iconOf(icon), QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok,
                        window_.get());
        dialogRunner_(box);
    };
}

QtHost::~QtHost() = default;

void QtHost::installQuitSignals() { vortastr::installQuitSignals(); }

bool QtHost::createMainWindow(Emulator& emulator)
{
    emulator_ = &emulator;
    if (headless_)
        return true;
    window_ = std::make_unique<MainWindow>(emulator);
    window_->show();
    return true;
}

void QtHost::destroyMainWindow() { window_.reset(); }

DisplayOutput& QtHost::displayOutput()
{
    if (window_)
        return *window_;
    return headlessOutput_;
}

void QtHost::pumpOneMessage()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (quitSignalled() && emulator_)
        postQuitMessage(*emulator_);
}

void QtHost::messageBox(const std::string& text, const std::string& caption, MessageIcon icon)
{
    messageHandler_(text, caption, icon);
}

int QtHost::runAboutDialog(const AboutText& text)
{
    if (!window_)
        return CmdCancel;
    AboutDialog dialog(text, window_.get());
    return dialogRunner_(dialog);
}

int QtHost::runDipDialog(DipDialogSession& session)
{
    if (!window_)
        return 0;
    DipDialog dialog(session, window_.get());
    return dialogRunner_(dialog);
}

void QtHost::runRomAuditDialog(const std::string& romPath)
{
    if (!window_)
        return;
    AuditDialog dialog(auditGames(romPath), window_.get());
    dialogRunner_(dialog);
}

void QtHost::setCursorVisible(bool visible)
{
    if (window_)
        window_->displayWidget()->setCursor(visible ? Qt::ArrowCursor : Qt::BlankCursor);
}

bool QtHost::writeSnapshot(const ScreenSurface& screen, const std::string& path, std::string& error)
{
    return writeSurfacePng(screen, path, error);
}

bool writeSurfacePng(const ScreenSurface& screen, const std::string& path, std::string& error)
{
    if (screen.empty()) {
        error = "the screen is empty";
        return false;
    }
    const std::vector<uint32_t> argb = screen.toArgb();
    const QImage image(reinterpret_cast<const uchar*>(argb.data()), screen.width(), screen.height(), screen.width() * 4,
                       QImage::Format_ARGB32);
    // Encoded in memory first, so that the file is written (and every write checked) in one place.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image.convertToFormat(QImage::Format_RGB32))) {
        error = writer.errorString().toStdString();
        return false;
    }
    return writeWholeFile(path, std::string_view(png.constData(), static_cast<std::size_t>(png.size())), error);
}

} // namespace vortastr
