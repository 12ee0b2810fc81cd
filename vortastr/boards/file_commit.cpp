#include "boards/file_commit.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace vortastr {

long long commitFileFailAfterBytes = -1;

namespace {

bool writeAll(std::FILE* file, std::span<const uint8_t> bytes)
{
    std::size_t allowed = bytes.size();
    if (commitFileFailAfterBytes >= 0 && static_cast<unsigned long long>(commitFileFailAfterBytes) < allowed)
        allowed = static_cast<std::size_t>(commitFileFailAfterBytes);
    if (allowed > 0 && std::fwrite(bytes.data(), 1, allowed, file) != allowed)
        return false;
    if (allowed < bytes.size()) {
        errno = EIO;
        return false;
    }
    return true;
}

} // namespace

bool commitFile(const std::string& path, std::span<const uint8_t> bytes, std::string& error)
{
    namespace fs = std::filesystem;
    std::error_code probe;
    const fs::file_status target = fs::status(path, probe);
    if (fs::exists(target) && !fs::is_regular_file(target)) {
        error = "\"" + path + "\" is not a plain file";
        return false;
    }
    const std::string temporary = path + ".part" + std::to_string(::getpid());
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) {
        error = "cannot create \"" + temporary + "\": " + std::strerror(errno);
        return false;
    }
    bool ok = writeAll(file, bytes) && std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
    const int savedErrno = errno;
    ok = (std::fclose(file) == 0) && ok;
    std::error_code ec;
    if (ok) {
        fs::rename(temporary, path, ec);
        if (!ec)
            return true;
        error = "cannot replace \"" + path + "\": " + ec.message();
    } else {
        error = "cannot write \"" + temporary + "\": " + std::strerror(savedErrno ? savedErrno : EIO);
    }
    fs::remove(temporary, ec); // our own temporary file, never the target
    return false;
}

bool readWholeFile(const std::string& path, std::size_t limit, std::string& bytesOut)
{
    // A FIFO or device would block or never end: only plain files are read.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return false;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    bytesOut.assign(limit + 1, '\0');
    const std::size_t got = std::fread(bytesOut.data(), 1, bytesOut.size(), file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    bytesOut.resize(got);
    return !failed;
}

} // namespace vortastr
