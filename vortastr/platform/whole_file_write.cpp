#include "platform/whole_file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace vortastr {
namespace {

// A write that takes no bytes at all leaves errno untouched; a full device is the reason then.
int writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return ENOSPC;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

bool fail(std::string& error, int errnoValue)
{
    error = std::strerror(errnoValue);
    return false;
}

bool writeInPlace(const std::string& path, std::string_view bytes, std::string& error)
{
    // O_NONBLOCK: a FIFO without a reader fails at once instead of hanging the program.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(error, errno);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    int result = writeAll(fd, bytes);
    if (::close(fd) != 0 && result == 0)
        result = errno;
    return result == 0 || fail(error, result);
}

} // namespace

bool writeWholeFile(const std::string& path, std::string_view bytes, std::string& error)
{
    struct stat st {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        return fail(error, EISDIR);
    if (exists && !S_ISREG(st.st_mode))
        return writeInPlace(path, bytes, error);

    // A symbolic link keeps pointing where it did: the file it names is the one replaced.
    std::filesystem::path target(path);
    std::error_code ec;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(target, ec))) {
        const std::filesystem::path resolved = std::filesystem::weakly_canonical(target, ec);
        if (!ec)
            target = resolved;
    }
    const std::string temporary =
        (target.parent_path() / ("." + target.filename().string() + ".tmp-" + std::to_string(::getpid()))).string();
    const mode_t mode = exists ? (st.st_mode & 07777) : 0666;
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0)
        return fail(error, errno);
    int result = writeAll(fd, bytes);
    if (result == 0 && exists && ::fchmod(fd, mode) != 0)
        result = errno;
    if (result == 0 && ::fsync(fd) != 0)
        result = errno;
    if (::close(fd) != 0 && result == 0)
        result = errno;
    if (result == 0 && ::rename(temporary.c_str(), target.c_str()) != 0)
        result = errno;
    if (result != 0) {
        ::unlink(temporary.c_str());
        return fail(error, result);
    }
    return true;
}

} // namespace vortastr
