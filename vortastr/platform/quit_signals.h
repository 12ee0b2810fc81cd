#pragma once
// SIGINT and SIGTERM end the program in an orderly way in every state. The handler only writes a
// byte to a pipe; Qt's event loop watches the pipe (inside a message box's or dialog's own loop
// too), closes every open modal window and leaves the flag set, which the frame loop turns into
// the normal quit (settings written as at any other exit).
namespace vortastr {

// Needs the Qt application object to exist. Safe to call more than once.
void installQuitSignals();

// True once SIGINT or SIGTERM arrived; stays true.
bool quitSignalled();

} // namespace vortastr
