// Whole-file writes that never leave half a file behind.
#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <string>
#include <string_view>

namespace hdrforge {

// "Cannot <verb> "<path>": <system reason>" for the errno value given.
std::string fileErrorText(const char* verb, const std::string& path, int errnoValue);

// The system's pwrite, or a stand-in that tests use to make writes fail.
using PwriteCall = ssize_t (*)(int fd, const void* data, size_t size, off_t offset);

// Writes all of data at offset, going on after short writes and EINTR. False with errno set; a write
// that takes no bytes at all sets ENOSPC (the device is full), so a reason is never "Success".
bool writeAllAt(int fd, std::string_view data, off_t offset, PwriteCall call = ::pwrite);

// Writes data to a temporary file beside path, flushes it and renames it over path.
// An existing file keeps its permission bits; a symbolic link is followed, not replaced.
// On failure nothing at path changes and error holds the reason.
bool writeFileAtomically(const std::string& path, std::string_view data, std::string& error);

} // namespace hdrforge
