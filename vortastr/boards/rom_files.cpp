#include "boards/rom_files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>

namespace vortastr {
namespace {

namespace fs = std::filesystem;

bool sameWithoutCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// The entry of `folder` named `part`: exactly when it exists, else the first whose name matches
// without regard to case, else none.
std::optional<fs::path> findEntry(const fs::path& folder, const std::string& part)
{
    std::error_code ec;
    fs::path exact = folder / part;
    if (fs::exists(exact, ec))
        return exact;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (sameWithoutCase(it->path().filename().string(), part))
            return it->path();
    }
    return std::nullopt;
}

} // namespace

RomFileContext& romFiles()
{
    static RomFileContext context;
    return context;
}

std::string resolveRomPath(const std::string& name)
{
    fs::path asWritten = romFiles().romPath.empty() ? fs::path(".") : fs::path(romFiles().romPath);
    fs::path found = asWritten;
    bool stillFound = true;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of("\\/", start);
        if (end == std::string::npos)
            end = name.size();
        const std::string part = name.substr(start, end - start);
        start = end + 1;
        if (part.empty())
            continue;
        asWritten /= part;
        if (stillFound) {
            if (auto entry = findEntry(found, part))
                found = *entry;
            else
                stillFound = false;
        }
    }
    return (stillFound ? found : asWritten).string();
}

std::string hostRomName(const std::string& name)
{
    std::string host = name;
    std::replace(host.begin(), host.end(), '\\', static_cast<char>(fs::path::preferred_separator));
    return host;
}

std::string couldntOpenMessage(const std::string& name)
{
    return "Couldn't open \"" + hostRomName(name) + "\".\n\nCheck you have correctly named roms";
}

RomFile openRomSilently(const std::string& name)
{
    return RomFile(std::fopen(resolveRomPath(name).c_str(), "rb"));
}

RomFile openRom(const std::string& name)
{
    RomFile file = openRomSilently(name);
    if (!file && romFiles().reportError)
        romFiles().reportError(couldntOpenMessage(name));
    return file;
}

std::size_t readRom(std::FILE* file, uint8_t* destination, std::size_t size)
{
    return file && destination ? std::fread(destination, 1, size, file) : 0;
}

} // namespace vortastr
