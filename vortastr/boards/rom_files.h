#pragma once
// Where ROM files are found and how a failure to open one is reported. ROM names are written
// the way the game folders are named ("vorta\VSA_B9.BIN"): a folder, a backslash and a file.
// They are looked up below the ROM folder with the host's separator; a name that is not found
// as written is looked up again without regard to case, one path component at a time.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

namespace vortastr {

struct RomFileContext {
    std::string romPath = ".";
    // Shows an error message box (caption "Emulator Error"); null shows nothing.
    std::function<void(const std::string& text)> reportError;
};

// The loader's context: the ROM folder and the message sink of the running program.
RomFileContext& romFiles();

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using RomFile = std::unique_ptr<std::FILE, FileCloser>;

// The host path of a ROM name below the ROM folder, with the case-insensitive fallback; the
// name as written (with host separators) when nothing matches.
std::string resolveRomPath(const std::string& name);

// A ROM name with the host's separators ("vorta/VSA_B9.BIN" here).
std::string hostRomName(const std::string& name);

// The message shown when a ROM cannot be opened; it names the file in the host's form.
std::string couldntOpenMessage(const std::string& name);

// Opens a ROM for reading. On failure shows couldntOpenMessage and returns null.
RomFile openRom(const std::string& name);
// The same without any message (for probing which of two sets is present).
RomFile openRomSilently(const std::string& name);

// Reads up to `size` bytes; a short file leaves the rest of the destination untouched.
std::size_t readRom(std::FILE* file, uint8_t* destination, std::size_t size);

} // namespace vortastr
