#include "platform/settings_lock.h"

#include <QLockFile>
#include <QSysInfo>

#include <signal.h>

#include <cerrno>

namespace vortastr {
namespace {

bool processIsGone(qint64 pid) { return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH; }

bool heldByDeadRun(const QLockFile& lock)
{
    qint64 pid = 0;
    QString host;
    QString application;
    if (!lock.getLockInfo(&pid, &host, &application))
        return true; // empty or garbled: the run that made it died before writing it
    return host == QSysInfo::machineHostName() && processIsGone(pid);
}

} // namespace

bool settingsLockFree(const QString& settingsPath, std::chrono::milliseconds patience)
{
    QLockFile lock(settingsPath + ".lock");
    lock.setStaleLockTime(0); // staleness is decided here, by the holder, not by the file's age
    if (lock.tryLock(0)) {
        lock.unlock();
        return true;
    }
    if (lock.error() != QLockFile::LockFailedError)
        return true;
    if (heldByDeadRun(lock) && lock.removeStaleLockFile() && lock.tryLock(0)) {
        lock.unlock();
        return true;
    }
    if (lock.tryLock(static_cast<int>(patience.count()))) {
        lock.unlock();
        return true;
    }
    return false;
}

} // namespace vortastr
