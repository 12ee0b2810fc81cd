#include "header_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "atomic_file.h"

namespace hdrforge {
namespace {

bool endsWithNoCase(const std::string& text, std::string_view suffix)
{
    if (text.size() < suffix.size())
        return false;
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        char c = text[text.size() - suffix.size() + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != suffix[i])
            return false;
    }
    return true;
}

std::string notRegularText(const char* verb, const std::string& path, mode_t mode)
{
    const char* what = S_ISDIR(mode) ? "it is a folder" : "not a regular file";
    return std::string("Cannot ") + verb + " \"" + path + "\": " + what;
}

} // namespace

FileKind classifyFileName(const std::string& name)
{
    if (endsWithNoCase(name, ".nes"))
        return FileKind::Game;
    if (endsWithNoCase(name, ".hdr"))
        return FileKind::Header;
    return FileKind::Other;
}

std::string unknownKindText(const std::string& fileTitle)
{
    return "\"" + fileTitle + "\" is neither a game (.nes) nor a header (.hdr) file, so it was not opened.";
}

bool readHeaderFile(const std::string& path, HeaderRead& out, std::string& error)
{
    // O_NONBLOCK keeps a named pipe from hanging the open; it is refused just below.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = fileErrorText("open", path, errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = st.st_mode == 0 ? fileErrorText("open", path, errno) : notRegularText("open", path, st.st_mode);
        ::close(fd);
        return false;
    }
    HeaderBytes bytes{};
    std::size_t got = 0;
    while (got < bytes.size()) {
        ssize_t n = ::pread(fd, bytes.data() + got, bytes.size() - got, static_cast<off_t>(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = fileErrorText("read", path, errno);
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    out.bytes = bytes;
    out.fileSize = static_cast<std::uint64_t>(st.st_size);
    return true;
}

bool writeHeaderInto(const std::string& path, const HeaderBytes& header, std::string& error, IfMissing ifMissing)
{
    std::string_view data(reinterpret_cast<const char*>(header.data()), header.size());
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT && ifMissing == IfMissing::Create)
            return writeFileAtomically(path, data, error);
        error = fileErrorText("write", path, errno);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        error = notRegularText("write", path, st.st_mode);
        return false;
    }
    int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        error = fileErrorText("write", path, errno);
        return false;
    }
    if (st.st_size <= static_cast<off_t>(kHeaderSize)) {
        ::close(fd); // writable: replace the whole file
        return writeFileAtomically(path, data, error);
    }
    bool ok = writeAllAt(fd, data, 0) && ::fsync(fd) == 0;
    int savedErrno = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok)
        error = fileErrorText("write", path, savedErrno);
    return ok;
}

std::string sizeMismatchNote(const HeaderFields& fields, std::uint64_t fileSize)
{
    std::uint64_t expected = expectedGameSize(fields);
    if (expected == fileSize)
        return {};
    return "size does not match the header: " + std::to_string(expected) + " bytes expected";
}

} // namespace hdrforge
