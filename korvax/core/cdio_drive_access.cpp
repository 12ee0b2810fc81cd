#include "cdio_drive_access.h"

#include <cdio/cdio.h>
#include <cdio/iso9660.h>
#include <cdio/logging.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <mutex>
#include <set>

#include "iso_directory_check.h"

namespace korvax {
namespace {

namespace fs = std::filesystem;

// libcdio reports every failed probe on standard error; the scanner reports failures itself.
void silenceCdioLog()
{
    static std::once_flag once;
    std::call_once(once, [] { cdio_log_set_handler([](cdio_log_level_t, const char*) {}); });
}

std::string trimTrailingSpaces(std::string s)
{
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

std::string takeCString(char* s)
{
    std::string result = s ? s : "";
    std::free(s);
    return result;
}

// "0.BIN;1" -> "0.BIN", "README.;1" -> "README".
std::string isoDisplayName(const char* raw)
{
    std::string name(raw);
    if (auto semi = name.find(';'); semi != std::string::npos)
        name.erase(semi);
    if (!name.empty() && name.back() == '.' && name != "." && name != "..")
        name.pop_back();
    return name;
}

struct RootFile {
    DirEntry entry;
    lsn_t lsn = 0;
};

// Shared by both kinds of reader: directory caching and file reads block by block.
class IsoReaderBase : public DiscReader {
public:
    bool listRoot(std::vector<DirEntry>& entries) override
    {
        entries.clear();
        if (!loadRoot())
            return false;
        for (const RootFile& f : root_)
            entries.push_back(f.entry);
        return true;
    }

    bool readFileStart(const std::string& name, std::size_t maxBytes, std::vector<std::uint8_t>& data) override
    {
        data.clear();
        if (!loadRoot())
            return false;
        for (const RootFile& f : root_) {
            if (f.entry.isDirectory || f.entry.name != name)
                continue;
            readExtent(f.lsn, std::min<std::uint64_t>(maxBytes, f.entry.size), data);
            return true;
        }
        return false;
    }

    bool readSystemArea(std::size_t maxBytes, std::vector<std::uint8_t>& data) override
    {
        data.clear();
        readExtent(0, std::min<std::size_t>(maxBytes, 16 * ISO_BLOCKSIZE), data);
        return !data.empty();
    }

protected:
    virtual CdioList_t* readRootDirectory() = 0;
    // Reads one 2048-byte block; returns how many of its bytes could be read.
    virtual std::size_t readBlock(lsn_t lsn, std::uint8_t* block) = 0;

private:
    bool loadRoot()
    {
        if (rootLoaded_)
            return rootReadable_;
        rootLoaded_ = true;
        if (!rootDirectoryIsSafe())
            return false;
        CdioList_t* list = readRootDirectory();
        if (list == nullptr)
            return false;
        rootReadable_ = true;
        for (CdioListNode_t* node = _cdio_list_begin(list); node; node = _cdio_list_node_next(node)) {
            const auto* st = static_cast<const iso9660_stat_t*>(_cdio_list_node_data(node));
            if (st == nullptr)
                continue;
            RootFile f;
            f.entry.name = isoDisplayName(st->filename);
            if (f.entry.name == "." || f.entry.name == ".." || f.entry.name.empty())
                continue;
            f.entry.size = st->size;
            f.entry.isDirectory = st->type == iso9660_stat_s::_STAT_DIR;
            f.lsn = st->lsn;
            root_.push_back(std::move(f));
        }
        iso9660_filelist_free(list);
        return true;
    }

    // Reads the root directory as libiso9660 will and checks its records first.
    bool rootDirectoryIsSafe()
    {
        std::vector<std::uint8_t> pvd;
        readExtent(ISO_PVD_SECTOR, ISO_BLOCKSIZE, pvd);
        DirectoryExtent root;
        if (!rootDirectoryExtent(pvd.data(), pvd.size(), root))
            return false;
        const std::uint64_t bytes = std::uint64_t{root.blocks()} * ISO_BLOCKSIZE;
        std::vector<std::uint8_t> dir;
        readExtent(static_cast<lsn_t>(root.lsn), bytes, dir);
        return dir.size() == bytes && directoryRecordsInBounds(dir.data(), dir.size());
    }

    // Reads `size` bytes from the extent at lsn; a block read short ends the read early.
    void readExtent(lsn_t lsn, std::uint64_t size, std::vector<std::uint8_t>& data)
    {
        std::uint8_t block[ISO_BLOCKSIZE];
        while (data.size() < size && lsn >= 0) {
            const std::size_t got = std::min<std::size_t>(readBlock(lsn, block), ISO_BLOCKSIZE);
            const std::size_t n = std::min<std::uint64_t>(got, size - data.size());
            data.insert(data.end(), block, block + n);
            if (got < ISO_BLOCKSIZE || lsn == std::numeric_limits<lsn_t>::max())
                return;
            ++lsn;
        }
    }

    bool rootLoaded_ = false;
    bool rootReadable_ = false;
    std::vector<RootFile> root_;
};

// An image file read through libiso9660 (2048-byte sectors, or raw sectors found by probing).
class IsoImageReader : public IsoReaderBase {
public:
    explicit IsoImageReader(iso9660_t* iso) : iso_(iso) {}
    ~IsoImageReader() override { iso9660_close(iso_); }

    std::string volumeLabel() override
    {
        char* id = nullptr;
        if (!iso9660_ifs_get_volume_id(iso_, &id))
            return {};
        return trimTrailingSpaces(takeCString(id));
    }

protected:
    CdioList_t* readRootDirectory() override { return iso9660_ifs_readdir(iso_, "/"); }
    std::size_t readBlock(lsn_t lsn, std::uint8_t* block) override
    {
        const long got = iso9660_iso_seek_read(iso_, block, lsn, 1);
        return got > 0 ? static_cast<std::size_t>(got) : 0;
    }

private:
    iso9660_t* iso_;
};

// A drive or an image opened by one of libcdio's drivers.
class CdioDiscReader : public IsoReaderBase {
public:
    explicit CdioDiscReader(CdIo_t* cdio) : cdio_(cdio) {}
    ~CdioDiscReader() override { cdio_destroy(cdio_); }

    bool hasVolumeDescriptor()
    {
        iso9660_pvd_t pvd;
        return iso9660_fs_read_pvd(cdio_, &pvd);
    }

    std::string volumeLabel() override
    {
        iso9660_pvd_t pvd;
        if (!iso9660_fs_read_pvd(cdio_, &pvd))
            return {};
        return trimTrailingSpaces(takeCString(iso9660_get_volume_id(&pvd)));
    }

protected:
    CdioList_t* readRootDirectory() override { return iso9660_fs_readdir(cdio_, "/"); }
    std::size_t readBlock(lsn_t lsn, std::uint8_t* block) override
    {
        return cdio_read_data_sectors(cdio_, block, lsn, ISO_BLOCKSIZE, 1) == DRIVER_OP_SUCCESS ? ISO_BLOCKSIZE : 0;
    }

private:
    CdIo_t* cdio_;
};

std::string lowerExtension(const std::string& path)
{
    std::string ext = fs::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}

// Images in a libcdio driver's format must also carry an ISO 9660 file system.
std::unique_ptr<DiscReader> openWithCdioDriver(const std::string& path, driver_id_t driver)
{
    CdIo_t* cdio = cdio_open(path.c_str(), driver);
    if (cdio == nullptr)
        return nullptr;
    auto reader = std::make_unique<CdioDiscReader>(cdio);
    if (!reader->hasVolumeDescriptor())
        return nullptr;
    return reader;
}

std::unique_ptr<DiscReader> openPlainImage(const std::string& path)
{
    iso9660_t* iso = iso9660_open_ext(path.c_str(), ISO_EXTENSION_NONE);
    if (iso == nullptr)
        iso = iso9660_open_fuzzy_ext(path.c_str(), ISO_EXTENSION_NONE, 20);
    if (iso == nullptr)
        return nullptr;
    return std::make_unique<IsoImageReader>(iso);
}

bool isRegularFile(const std::string& path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

} // namespace

std::vector<std::string> listCdRomDevices()
{
    silenceCdioLog();
    std::vector<std::string> devices;
    std::set<std::string> seen;
    char** list = cdio_get_devices(DRIVER_DEVICE);
    for (char** d = list; d != nullptr && *d != nullptr; ++d) {
        std::error_code ec;
        fs::path real = fs::canonical(*d, ec);
        const std::string device = ec ? std::string(*d) : real.string();
        if (seen.insert(device).second)
            devices.push_back(device);
    }
    if (list != nullptr)
        cdio_free_device_list(list);
    return devices;
}

std::string deviceDisplayName(const std::string& device)
{
    const std::string name = fs::path(device).filename().string();
    return name.empty() ? device : name;
}

std::unique_ptr<DiscReader> openImageFile(const std::string& path)
{
    silenceCdioLog();
    if (!isRegularFile(path))
        return nullptr;
    const std::string ext = lowerExtension(path);
    if (ext == ".cue")
        return openWithCdioDriver(path, DRIVER_BINCUE);
    if (ext == ".toc")
        return openWithCdioDriver(path, DRIVER_CDRDAO);
    if (ext == ".nrg")
        return openWithCdioDriver(path, DRIVER_NRG);
    if (ext == ".bin") {
        // A .bin with a cue sheet beside it is read through the sheet (its track layout);
        // without one the sector size is found by probing.
        if (char* cue = cdio_is_binfile(path.c_str())) {
            const bool haveCue = isRegularFile(cue);
            std::free(cue);
            if (haveCue) {
                if (auto reader = openWithCdioDriver(path, DRIVER_BINCUE))
                    return reader;
            }
        }
    }
    return openPlainImage(path);
}

std::unique_ptr<DiscReader> openDeviceDisc(const std::string& device)
{
    silenceCdioLog();
    CdIo_t* cdio = cdio_open(device.c_str(), DRIVER_DEVICE);
    if (cdio == nullptr)
        return nullptr;
    if (cdio_get_num_tracks(cdio) == CDIO_INVALID_TRACK) {
        cdio_destroy(cdio);
        return nullptr;
    }
    return std::make_unique<CdioDiscReader>(cdio);
}

SystemDriveAccess::SystemDriveAccess(bool withDevices) : withDevices_(withDevices) {}

std::optional<DriveRef> SystemDriveAccess::addImage(const std::string& path)
{
    std::error_code ec;
    fs::path absolute = fs::weakly_canonical(fs::absolute(path, ec), ec);
    const std::string source = ec ? path : absolute.string();
    for (const DriveRef& image : images_)
        if (image.source == source)
            return image;
    if (!openImageFile(source))
        return std::nullopt;

    // Names must be unique: the lists find drives by their text.
    const std::string base = fs::path(source).filename().string();
    std::vector<DriveRef> taken = images_;
    if (withDevices_)
        for (const std::string& device : listCdRomDevices())
            taken.push_back({deviceDisplayName(device), device, false});
    std::string name = base;
    for (int n = 2; std::any_of(taken.begin(), taken.end(), [&](const DriveRef& d) { return d.name == name; }); ++n)
        name = base + "#" + std::to_string(n);
    images_.push_back({name, source, true});
    return images_.back();
}

std::vector<DriveRef> SystemDriveAccess::cdRomDrives()
{
    std::vector<DriveRef> drives;
    if (withDevices_)
        for (const std::string& device : listCdRomDevices())
            drives.push_back({deviceDisplayName(device), device, false});
    drives.insert(drives.end(), images_.begin(), images_.end());
    return drives;
}

std::unique_ptr<DiscReader> SystemDriveAccess::openDisc(const DriveRef& drive)
{
    return drive.isImage ? openImageFile(drive.source) : openDeviceDisc(drive.source);
}

} // namespace korvax
