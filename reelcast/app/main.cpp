#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "app/cli.h"

namespace {

// The window lives in reelcast_window.so beside the program.
int runWindow(int argc, char** argv)
{
    char self[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string dir = n > 0 ? std::string(self, size_t(n)) : std::string(argv[0]);
    dir = dir.substr(0, dir.find_last_of('/') + 1);
    void* module = dlopen((dir + "reelcast_window.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    using Entry = int (*)(int, char**);
    Entry entry = module ? reinterpret_cast<Entry>(dlsym(module, "reelcast_window_main")) : nullptr;
    if (!entry) {
        std::fprintf(stderr, "Can't start. (%s)\n", dlerror());
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
