#pragma once
// Opening a file that must be a regular file without ever blocking: a FIFO, a device or a
// folder in the place of a ROM is refused with a reason instead of hanging the emulator or
// being read as empty.
#include <cstdint>
#include <cstdio>
#include <string>

namespace vortastr {

// What identifies a file's content for caching: it changes when the file is replaced or written.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    uint64_t size = 0;
    int64_t modifiedNs = 0;
    bool operator==(const FileIdentity&) const = default;
};

// A read-only descriptor of the regular file at `path`, or -1 with a reason in `problem`
// ("no such file", "is a folder", "is a FIFO", "permission denied", ...).
int openRegularFile(const std::string& path, FileIdentity& identity, std::string& problem);

// The same as a stream for reading; null with a reason.
std::FILE* openRegularStream(const std::string& path, uint64_t& size, std::string& problem);

void closeFile(int fd);

} // namespace vortastr
