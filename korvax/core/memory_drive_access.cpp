#include "memory_drive_access.h"

#include <algorithm>

namespace korvax {
namespace {

// Reads from a snapshot of the disc, as a real drive would read the disc inserted at open time.
class MemoryDiscReader : public DiscReader {
public:
    explicit MemoryDiscReader(MemoryDisc disc) : disc_(std::move(disc)) {}

    std::string volumeLabel() override { return disc_.label; }

    bool listRoot(std::vector<DirEntry>& entries) override
    {
        entries.clear();
        if (!disc_.rootReadable)
            return false;
        for (const auto& [name, file] : disc_.root)
            entries.push_back({name, file.reportedSize, file.isDirectory});
        return true;
    }

    bool readFileStart(const std::string& name, std::size_t maxBytes, std::vector<std::uint8_t>& data) override
    {
        data.clear();
        for (const auto& [fileName, file] : disc_.root) {
            if (fileName != name || file.isDirectory)
                continue;
            if (!file.openable)
                return false;
            const std::size_t n = std::min(maxBytes, file.data.size());
            data.assign(file.data.begin(), file.data.begin() + static_cast<std::ptrdiff_t>(n));
            return true;
        }
        return false;
    }

    bool readSystemArea(std::size_t maxBytes, std::vector<std::uint8_t>& data) override
    {
        const std::size_t n = std::min(maxBytes, disc_.systemArea.size());
        data.assign(disc_.systemArea.begin(), disc_.systemArea.begin() + static_cast<std::ptrdiff_t>(n));
        return !disc_.systemArea.empty();
    }

private:
    MemoryDisc disc_;
};

} // namespace

MemoryDisc& MemoryDisc::add(const std::string& name, std::vector<std::uint8_t> data)
{
    MemoryFile file;
    file.reportedSize = data.size();
    file.data = std::move(data);
    root.emplace_back(name, std::move(file));
    return *this;
}

MemoryDrive& MemoryDriveAccess::addDrive(const std::string& name, std::optional<MemoryDisc> disc)
{
    drives.push_back({DriveRef{name, "/dev/" + name, false}, std::move(disc)});
    return drives.back();
}

MemoryDrive* MemoryDriveAccess::find(const std::string& name)
{
    for (MemoryDrive& d : drives)
        if (d.ref.name == name)
            return &d;
    return nullptr;
}

std::vector<DriveRef> MemoryDriveAccess::cdRomDrives()
{
    std::vector<DriveRef> refs;
    for (const MemoryDrive& d : drives)
        refs.push_back(d.ref);
    return refs;
}

std::unique_ptr<DiscReader> MemoryDriveAccess::openDisc(const DriveRef& drive)
{
    MemoryDrive* d = find(drive.name);
    if (d == nullptr || !d->disc)
        return nullptr;
    ++openCount;
    return std::make_unique<MemoryDiscReader>(*d->disc);
}

} // namespace korvax
