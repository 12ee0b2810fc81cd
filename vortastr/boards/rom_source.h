#pragma once
// Where a named file of a game comes from: a ROM image, a sample, a colour PROM or the voice
// ROM. Names are written the way the game folders are named ("vorta\VSA_B9.BIN",
// "sound\vorta_01.wav", "default.clr"). Below the ROM folder the first component names the
// game's folder. When there is no such folder the files are looked for in the game's archive
// ("vorta.zip") instead; a folder always wins over an archive. Folder, archive and file names
// are matched without regard to case when they are not found as written, and a name inside an
// archive is also found in a sub-folder of it by its last component.
#include "boards/rom_archive.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vortastr {

enum class RomPlace { Missing, Folder, Archive };

struct RomLocation {
    RomPlace place = RomPlace::Missing;
    std::string name;        // the name asked for ("vorta\VSA_B9.BIN")
    std::string path;        // host path of the file, or of the archive that holds it
    std::string archiveName; // file name of the archive looked in ("vorta.zip"); empty for folders
    std::string member;      // the member's name inside the archive
    uint64_t size = 0;       // bytes the file holds
    std::string problem;     // why an existing file or archive cannot be read; empty otherwise
    bool found() const { return place != RomPlace::Missing; }
};

// Where the file is and whether it can be read, without reading it: a folder file must be a
// readable regular file, an archive must open. Used by the audit.
RomLocation locateRom(const std::string& romFolder, const std::string& name);

// An open file of a game folder or member of a game archive. Archive members are read when
// they are opened (so a damaged member fails to open rather than to read).
class RomSource {
public:
    RomSource(std::FILE* file, RomLocation where);
    RomSource(std::vector<uint8_t> bytes, RomLocation where);
    ~RomSource();
    RomSource(const RomSource&) = delete;
    RomSource& operator=(const RomSource&) = delete;

    // Reads up to `size` bytes from the current position; fewer at the end of the file.
    std::size_t read(uint8_t* destination, std::size_t size);
    uint64_t size() const { return where_.size; }
    const RomLocation& location() const { return where_; }

private:
    std::FILE* file_ = nullptr;
    std::vector<uint8_t> bytes_;
    std::size_t position_ = 0;
    RomLocation where_;
};

// Opens the file; null when it is missing or cannot be read, `where` saying why.
std::unique_ptr<RomSource> openRomSource(const std::string& romFolder, const std::string& name, RomLocation& where);

// The file's bytes, up to `maxBytes`; none when it cannot be opened or read.
std::optional<std::vector<uint8_t>> readRomSource(const std::string& romFolder, const std::string& name,
                                                  std::size_t maxBytes, RomLocation* where = nullptr);

} // namespace vortastr
