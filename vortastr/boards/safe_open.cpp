#include "boards/safe_open.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vortastr {
namespace {

const char* kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "is a folder, not a file";
    if (S_ISFIFO(mode))
        return "is a FIFO, not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "is a device, not a file";
    if (S_ISSOCK(mode))
        return "is a socket, not a file";
    return "is not a regular file";
}

} // namespace

int openRegularFile(const std::string& path, FileIdentity& identity, std::string& problem)
{
    // O_NONBLOCK: opening a FIFO without a writer returns at once instead of waiting for one.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        problem = std::strerror(errno);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        problem = std::strerror(errno);
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        problem = kindOf(st.st_mode);
        ::close(fd);
        return -1;
    }
    // Plain blocking reads from here on.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    identity = {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino), static_cast<uint64_t>(st.st_size),
                static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
    return fd;
}

std::FILE* openRegularStream(const std::string& path, uint64_t& size, std::string& problem)
{
    FileIdentity identity;
    const int fd = openRegularFile(path, identity, problem);
    if (fd < 0)
        return nullptr;
    std::FILE* file = ::fdopen(fd, "rb");
    if (!file) {
        problem = std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
    size = identity.size;
    return file;
}

void closeFile(int fd)
{
    if (fd >= 0)
        ::close(fd);
}

} // namespace vortastr
