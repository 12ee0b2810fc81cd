// Stand-in drives kept in memory, for tests and fuzzing: each holds a disc or is empty, and a
// test may change a disc between two calls of the scanner.
#pragma once

#include <map>
#include <optional>

#include "drive_access.h"

namespace korvax {

struct MemoryFile {
    std::vector<std::uint8_t> data;
    std::uint64_t reportedSize = 0; // the size the directory reports (may differ from data)
    bool isDirectory = false;
    bool openable = true;
};

struct MemoryDisc {
    std::string label;
    std::vector<std::pair<std::string, MemoryFile>> root; // directory order
    std::vector<std::uint8_t> systemArea;
    bool rootReadable = true;

    // Adds a file whose reported size is its data size.
    MemoryDisc& add(const std::string& name, std::vector<std::uint8_t> data);
};

struct MemoryDrive {
    DriveRef ref;
    std::optional<MemoryDisc> disc; // empty: not ready
};

class MemoryDriveAccess : public DriveAccess {
public:
    std::vector<MemoryDrive> drives;
    int openCount = 0; // how often a disc was opened (tests check the scanner's reads)

    MemoryDrive& addDrive(const std::string& name, std::optional<MemoryDisc> disc = std::nullopt);
    MemoryDrive* find(const std::string& name);

    std::vector<DriveRef> cdRomDrives() override;
    std::unique_ptr<DiscReader> openDisc(const DriveRef& drive) override;
};

} // namespace korvax
