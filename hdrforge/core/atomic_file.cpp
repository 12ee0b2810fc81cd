#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace hdrforge {
namespace {

namespace fs = std::filesystem;

std::string temporaryNameBeside(const fs::path& target)
{
    static std::atomic<unsigned> counter{0};
    std::string name =
        "." + target.filename().string() + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    return (target.parent_path() / name).string();
}

} // namespace

bool writeAllAt(int fd, std::string_view data, off_t offset, PwriteCall call)
{
    while (!data.empty()) {
        ssize_t n = call(fd, data.data(), data.size(), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
        offset += n;
    }
    return true;
}

std::string fileErrorText(const char* verb, const std::string& path, int errnoValue)
{
    return std::string("Cannot ") + verb + " \"" + path + "\": " + std::strerror(errnoValue);
}

bool writeFileAtomically(const std::string& path, std::string_view data, std::string& error)
{
    fs::path target(path);
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec)
            target = resolved;
    }

    struct stat st {};
    bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        error = "Cannot write \"" + path + "\": not a regular file";
        return false;
    }
    mode_t mode = exists ? (st.st_mode & 07777) : 0666;

    std::string temp = temporaryNameBeside(target);
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) {
        error = fileErrorText("write", path, errno);
        return false;
    }
    bool ok = writeAllAt(fd, data, 0) && (!exists || ::fchmod(fd, mode) == 0) && ::fsync(fd) == 0;
    int savedErrno = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        error = fileErrorText("write", path, savedErrno);
    }
    return ok;
}

} // namespace hdrforge
