#include "core/program_module.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

namespace reelcast {

void* loadModuleBesideProgram(const char* fileName, std::string& error)
{
    char self[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string dir = n > 0 ? std::string(self, size_t(n)) : std::string();
    dir = dir.substr(0, dir.find_last_of('/') + 1);
    void* module = dlopen((dir + fileName).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* why = dlerror();
        error = why ? why : "cannot load";
    }
    return module;
}

} // namespace reelcast
