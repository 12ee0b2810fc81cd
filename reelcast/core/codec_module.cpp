#include "core/codec_module.h"

#include <dlfcn.h>

#include <cstdio>
#include <string>

#include "core/program_module.h"

namespace reelcast {

const CodecModule* codecModule()
{
    static const CodecModule* const module = []() -> const CodecModule* {
        std::string error;
        void* handle = loadModuleBesideProgram(kCodecModuleFile, error);
        using Entry = const CodecModule* (*)();
        const auto entry = handle ? reinterpret_cast<Entry>(dlsym(handle, kCodecModuleEntry)) : nullptr;
        if (!entry) {
            std::fprintf(stderr, "reelcast: no compressors (%s)\n", handle ? "no entry point" : error.c_str());
            return nullptr;
        }
        return entry();
    }();
    return module;
}

} // namespace reelcast
