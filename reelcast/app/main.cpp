#include <dlfcn.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "app/cli.h"
#include "core/program_module.h"

namespace {

// The window lives in reelcast_window.so beside the program.
int runWindow(int argc, char** argv)
{
    std::string error;
    void* module = reelcast::loadModuleBesideProgram("reelcast_window.so", error);
    using Entry = int (*)(int, char**);
    Entry entry = module ? reinterpret_cast<Entry>(dlsym(module, "reelcast_window_main")) : nullptr;
    if (!entry) {
        std::fprintf(stderr, "Can't start. (%s)\n", module ? "no entry point" : error.c_str());
        return 1;
    }
    return entry(argc, argv);
}

} // namespace

int main(int argc, char** argv)
{
    if (reelcast::wantsGui(argc, argv))
        return runWindow(argc, argv);
    return reelcast::runCli(argc, argv, std::cout, std::cerr);
}
