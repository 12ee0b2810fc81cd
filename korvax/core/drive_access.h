// How the scanner reaches drives and discs. The system implementation goes through libcdio and
// libiso9660 (real drives and disc images); tests stand in drives of their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace korvax {

// A CD-ROM drive or an open disc image. `name` is what the lists show ("sr0", "game.iso");
// `source` is what opens it (a device path or an image file).
struct DriveRef {
    std::string name;
    std::string source;
    bool isImage = false;
};

struct DirEntry {
    std::string name; // as shown: without the ";1" version suffix
    std::uint64_t size = 0;
    bool isDirectory = false;
};

// A disc that could be opened in a drive.
class DiscReader {
public:
    virtual ~DiscReader() = default;

    // The ISO 9660 volume id without its padding; empty when it has none or cannot be read.
    virtual std::string volumeLabel() = 0;

    // The root directory's entries; false when it cannot be read at all.
    virtual bool listRoot(std::vector<DirEntry>& entries) = 0;

    // The first bytes (at most maxBytes) of a root-directory file. False when no such file can be
    // opened; a read that comes up short leaves fewer bytes in `data`.
    virtual bool readFileStart(const std::string& name, std::size_t maxBytes, std::vector<std::uint8_t>& data) = 0;

    // The first bytes (at most maxBytes) of the system area (the first 16 sectors).
    virtual bool readSystemArea(std::size_t maxBytes, std::vector<std::uint8_t>& data) = 0;
};

class DriveAccess {
public:
    virtual ~DriveAccess() = default;

    // The drives the system reports as CD-ROM drives, then the open disc images, in order.
    virtual std::vector<DriveRef> cdRomDrives() = 0;

    // Opens the disc in the drive; nullptr when the drive holds no disc that can be opened.
    virtual std::unique_ptr<DiscReader> openDisc(const DriveRef& drive) = 0;
};

} // namespace korvax
