#pragma once
// Zip archives of ROM sets ("vorta.zip"), read with libzip. An archive that has been opened is
// kept while its file stays the same (device, inode, size and time), so the files of a game
// start come from one reading of the archive's directory rather than one per file.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vortastr {

class RomArchive;

struct ArchiveMember {
    uint64_t index = 0;
    std::string name;  // as stored in the archive, sub-folders included
    uint64_t size = 0; // uncompressed size the directory gives
};

// Whether two names are the same without regard to (ASCII) case.
bool sameNameWithoutCase(const std::string& a, const std::string& b);

// Members larger than this are read only this far: no ROM, sample or colour file comes close.
constexpr std::size_t kArchiveReadLimit = 64u << 20;

// Opens the archive at `path`, or takes it from the cache when the file has not changed. Null
// with a reason in `problem` when the path is not a regular file or not a readable zip archive.
// Never blocks on a FIFO or a device.
std::shared_ptr<RomArchive> openRomArchive(const std::string& path, std::string& problem);

// An archive held in memory (tests and the fuzzer); not cached.
std::shared_ptr<RomArchive> openRomArchiveBytes(std::span<const uint8_t> bytes, std::string& problem);

// The member holding `name` (a path inside the archive, either separator): the exact name,
// else the same name without regard to case, else the first file whose last path component
// matches the last component of `name` without regard to case. Folder entries never match.
std::optional<ArchiveMember> findArchiveMember(const RomArchive& archive, const std::string& name);

// Every file member in directory order (folder entries left out).
std::vector<ArchiveMember> archiveMembers(const RomArchive& archive);

// Reads up to `maxBytes` (at most kArchiveReadLimit) of a member. Reading a member to its end
// checks its CRC. False with a reason when the member cannot be read.
bool readArchiveMember(const RomArchive& archive, const ArchiveMember& member, std::size_t maxBytes,
                       std::vector<uint8_t>& out, std::string& problem);

// Drops every cached archive (their files are closed when the last user lets go).
void forgetRomArchives();

} // namespace vortastr
