#include "boards/rom_source.h"

#include "boards/safe_open.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace vortastr {
namespace {

namespace fs = std::filesystem;

// The entry of `folder` named `part`: exactly when it exists, else the first whose name matches
// without regard to case, else none.
std::optional<fs::path> findEntry(const fs::path& folder, const std::string& part)
{
    std::error_code ec;
    fs::path exact = folder / part;
    if (fs::exists(fs::symlink_status(exact, ec)))
        return exact;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (sameNameWithoutCase(it->path().filename().string(), part))
            return it->path();
    }
    return std::nullopt;
}

std::vector<std::string> componentsOf(const std::string& name)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of("\\/", start);
        if (end == std::string::npos)
            end = name.size();
        if (end > start)
            parts.push_back(name.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// Follows `parts` down from `folder`, each without regard to case; the path as written when
// something is not there.
RomLocation inFolder(const fs::path& folder, const std::vector<std::string>& parts, std::size_t first)
{
    fs::path asWritten = folder, found = folder;
    bool stillFound = true;
    for (std::size_t i = first; i < parts.size(); ++i) {
        asWritten /= parts[i];
        if (stillFound) {
            if (auto entry = findEntry(found, parts[i]))
                found = *entry;
            else
                stillFound = false;
        }
    }
    RomLocation where;
    where.path = (stillFound ? found : asWritten).string();
    FileIdentity identity;
    const int fd = openRegularFile(where.path, identity, where.problem);
    if (fd >= 0) {
        closeFile(fd);
        where.place = RomPlace::Folder;
        where.size = identity.size;
    } else if (where.problem == std::strerror(ENOENT)) {
        where.problem.clear(); // simply not there
    }
    return where;
}

std::string joined(const std::vector<std::string>& parts, std::size_t first)
{
    std::string name;
    for (std::size_t i = first; i < parts.size(); ++i)
        name += (name.empty() ? "" : "/") + parts[i];
    return name;
}

struct ArchiveLookup {
    RomLocation where;
    std::shared_ptr<RomArchive> archive;
    ArchiveMember member;
};

ArchiveLookup inArchive(const fs::path& archivePath, const std::vector<std::string>& parts)
{
    ArchiveLookup lookup;
    RomLocation& where = lookup.where;
    where.path = archivePath.string();
    where.archiveName = archivePath.filename().string();
    lookup.archive = openRomArchive(where.path, where.problem);
    if (!lookup.archive)
        return lookup;
    const std::string inside = joined(parts, 1);
    const auto member = findArchiveMember(*lookup.archive, inside);
    if (!member) {
        lookup.archive.reset();
        return lookup;
    }
    lookup.member = *member;
    where.place = RomPlace::Archive;
    where.member = member->name;
    where.size = member->size;
    return lookup;
}

ArchiveLookup lookUp(const std::string& romFolder, const std::string& name)
{
    const fs::path root = romFolder.empty() ? fs::path(".") : fs::path(romFolder);
    const std::vector<std::string> parts = componentsOf(name);
    if (parts.size() < 2)
        return {inFolder(root, parts, 0), nullptr, {}};
    std::error_code ec;
    const auto folder = findEntry(root, parts[0]);
    if (folder && fs::is_directory(*folder, ec))
        return {inFolder(*folder, parts, 1), nullptr, {}};
    if (const auto archive = findEntry(root, parts[0] + ".zip"))
        return inArchive(*archive, parts);
    return {inFolder(root, parts, 0), nullptr, {}};
}

} // namespace

RomSource::RomSource(std::FILE* file, RomLocation where) : file_(file), where_(std::move(where)) {}

RomSource::RomSource(std::vector<uint8_t> bytes, RomLocation where) : bytes_(std::move(bytes)), where_(std::move(where))
{}

RomSource::~RomSource()
{
    if (file_)
        std::fclose(file_);
}

std::size_t RomSource::read(uint8_t* destination, std::size_t size)
{
    if (!destination)
        return 0;
    if (file_)
        return std::fread(destination, 1, size, file_);
    const std::size_t n = std::min(size, bytes_.size() - position_);
    std::copy_n(bytes_.data() + position_, n, destination);
    position_ += n;
    return n;
}

RomLocation locateRom(const std::string& romFolder, const std::string& name)
{
    RomLocation where = lookUp(romFolder, name).where;
    where.name = name;
    return where;
}

std::unique_ptr<RomSource> openRomSource(const std::string& romFolder, const std::string& name, RomLocation& where)
{
    ArchiveLookup lookup = lookUp(romFolder, name);
    where = lookup.where;
    where.name = name;
    if (where.place == RomPlace::Folder) {
        uint64_t size = 0;
        std::FILE* file = openRegularStream(where.path, size, where.problem);
        if (!file) {
            where.place = RomPlace::Missing;
            return nullptr;
        }
        where.size = size;
        return std::make_unique<RomSource>(file, where);
    }
    if (where.place == RomPlace::Archive) {
        std::vector<uint8_t> bytes;
        if (!readArchiveMember(*lookup.archive, lookup.member, kArchiveReadLimit, bytes, where.problem)) {
            where.place = RomPlace::Missing;
            return nullptr;
        }
        where.size = bytes.size();
        return std::make_unique<RomSource>(std::move(bytes), where);
    }
    return nullptr;
}

std::optional<std::vector<uint8_t>> readRomSource(const std::string& romFolder, const std::string& name,
                                                  std::size_t maxBytes, RomLocation* where)
{
    RomLocation found;
    auto source = openRomSource(romFolder, name, found);
    if (where)
        *where = found;
    if (!source)
        return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<std::size_t>(std::min<uint64_t>(source->size(), maxBytes)));
    bytes.resize(source->read(bytes.data(), bytes.size()));
    return bytes;
}

} // namespace vortastr
