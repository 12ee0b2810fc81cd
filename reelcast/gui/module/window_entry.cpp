// The window as a module of its own: the program loads it (and with it the GUI toolkit) only when
// the window is wanted, so that command-line runs start without it.

#include "gui/gui_app.h"

extern "C" __attribute__((visibility("default"))) int reelcast_window_main(int argc, char** argv)
{
    return reelcast::runGui(argc, argv);
}
