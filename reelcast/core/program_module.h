#pragma once
// Modules that sit beside the program (the window, FFmpeg's encoders), loaded only when wanted.

#include <string>

namespace reelcast {

// The module's handle (dlopen), or null with the loader's message in error.
void* loadModuleBesideProgram(const char* fileName, std::string& error);

} // namespace reelcast
