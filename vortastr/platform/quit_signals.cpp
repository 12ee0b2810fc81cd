#include "platform/quit_signals.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>

namespace vortastr {
namespace {

std::atomic<bool> signalled{false};
int pipeEnds[2] = {-1, -1};

extern "C" void writeQuitByte(int)
{
    signalled = true;
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(pipeEnds[1], &byte, 1);
    errno = savedErrno;
}

// Each modal window's loop ends; the code that opened it goes on towards the frame loop.
void closeModalWindows()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible() && dialog->isModal())
            dialog->reject();
}

void drainPipe()
{
    char bytes[64];
    while (::read(pipeEnds[0], bytes, sizeof bytes) > 0) {
    }
}

} // namespace

void installQuitSignals()
{
    if (pipeEnds[0] >= 0)
        return;
    if (::pipe2(pipeEnds, O_NONBLOCK | O_CLOEXEC) != 0)
        return; // without the pipe the frame loop still sees the flag
    auto* notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        drainPipe();
        closeModalWindows();
    });
    struct sigaction action {};
    action.sa_handler = writeQuitByte;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

bool quitSignalled() { return signalled; }

} // namespace vortastr
