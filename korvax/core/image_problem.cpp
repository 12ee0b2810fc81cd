#include "image_problem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "messages.h"

namespace korvax {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> cannotOpen(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::string(std::strerror(errno));
    if (S_ISDIR(st.st_mode))
        return std::string(std::strerror(EISDIR));
    if (!S_ISREG(st.st_mode))
        return std::string("not a regular file");
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::string(std::strerror(errno));
    ::close(fd);
    return std::nullopt;
}

std::string upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return text;
}

// The first track file a cue sheet names: FILE "name" TYPE, or FILE name TYPE.
std::optional<std::string> cueTrackFile(const std::string& cuePath)
{
    std::ifstream in(cuePath, std::ios::binary);
    std::string line;
    for (int lines = 0; lines < 10000 && std::getline(in, line); ++lines) {
        const std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || upper(line.substr(start, 5)) != "FILE ")
            continue;
        std::string rest = line.substr(start + 5);
        rest.erase(0, rest.find_first_not_of(" \t"));
        if (!rest.empty() && rest[0] == '"') {
            const std::size_t close = rest.find('"', 1);
            return close == std::string::npos ? std::nullopt : std::optional(rest.substr(1, close - 1));
        }
        const std::size_t end = rest.find_first_of(" \t\r");
        return rest.substr(0, end);
    }
    return std::nullopt;
}

} // namespace

std::string imageOpenProblem(const std::string& path)
{
    if (std::optional<std::string> reason = cannotOpen(path))
        return *reason;
    std::string extension = fs::path(path).extension().string();
    if (upper(extension) == ".CUE") {
        const std::optional<std::string> track = cueTrackFile(path);
        if (!track || track->empty())
            return "not a cue sheet (it names no track FILE)";
        const fs::path trackPath =
            fs::path(*track).is_absolute() ? fs::path(*track) : fs::path(path).parent_path() / *track;
        if (std::optional<std::string> reason = cannotOpen(trackPath.string()))
            return "its track file \"" + *track + "\" cannot be opened: " + *reason;
        return "the cue sheet or its track file \"" + *track + "\" is not a disc image";
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && st.st_size == 0)
        return "the file is empty";
    return "no ISO 9660 volume was found in it";
}

std::string imageOpenFaultText(const std::string& path, const std::string& reason)
{
    return std::string(kMsgImageOpenFault) + "\n\n\"" + path + "\": " + reason;
}

} // namespace korvax
