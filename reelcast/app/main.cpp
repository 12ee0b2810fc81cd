#include <iostream>

#include "app/cli.h"
#include "gui/gui_app.h"

int main(int argc, char** argv) {
    if (reelcast::wantsGui(argc, argv)) return reelcast::runGui(argc, argv);
    return reelcast::runCli(argc, argv, std::cout, std::cerr);
}
