#pragma once
// Where ROM files are found and how a failure to open one is reported. ROM names are written
// the way the game folders are named ("vorta\VSA_B9.BIN"): a folder, a backslash and a file.
// They are looked up below the ROM folder with the host's separator, in the game's folder or,
// when there is none, in its archive ("vorta.zip"); see rom_source.h for the rules.
#include "boards/rom_source.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vortastr {

struct RomFileContext {
    std::string romPath = ".";
    // Shows an error message box (caption "Emulator Error"); null shows nothing.
    std::function<void(const std::string& text)> reportError;
    // Console notes for runs without a window: why a file could not be opened, files shorter
    // than their set needs. Null prints nothing.
    std::function<void(const std::string& text)> reportNote;
};

// The loader's context: the ROM folder and the message sinks of the running program.
RomFileContext& romFiles();

using RomFile = std::unique_ptr<RomSource>;

// A ROM name with the host's separators ("vorta/VSA_B9.BIN" here).
std::string hostRomName(const std::string& name);

// The message shown when a ROM cannot be opened; it names the file in the host's form, and
// the archive when the file was looked for in one.
std::string couldntOpenMessage(const std::string& name, const std::string& archiveName = {});

// Opens a ROM for reading. On failure shows couldntOpenMessage (the reason goes to the notes)
// and returns null. A FIFO, device or folder in a ROM's place fails like a missing file.
RomFile openRom(const std::string& name);
// The same without any message (for probing which of two sets is present).
RomFile openRomSilently(const std::string& name);

// Reads up to `size` bytes; a short file leaves the rest of the destination untouched, and
// the first time a file falls short of what its set needs a note names it and its size.
std::size_t readRom(RomSource* file, uint8_t* destination, std::size_t size);

// The bytes of a named file from its game's folder or archive, up to `maxBytes`, for the
// sample sets, the colour PROM files and the voice ROM; none (without a message) when it
// cannot be opened, the reason going to the notes unless it is simply absent.
std::optional<std::vector<uint8_t>> readRomBytes(const std::string& name, std::size_t maxBytes = kArchiveReadLimit);

} // namespace vortastr
