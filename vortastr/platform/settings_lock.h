#pragma once
// The settings file's lock ("<file>.lock", the one QSettings takes while it writes). QSettings waits
// for it without a limit and takes over an empty lock only after half a minute, so a run that was
// killed while saving would make the next save hang. This is asked before every save.
#include <QString>

#include <chrono>

namespace vortastr {

// True when the lock is free now: a lock whose process is gone, or whose file is empty or
// unreadable (left by a kill), is removed at once; one held by a live process is waited for at most
// `patience`. False: the caller goes on without saving. A lock that cannot be made at all (a
// read-only folder) counts as free, so that the save itself reports the failure.
bool settingsLockFree(const QString& settingsPath,
                      std::chrono::milliseconds patience = std::chrono::milliseconds(1000));

} // namespace vortastr
