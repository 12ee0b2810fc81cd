#include "boards/rom_archive.h"

#include "boards/safe_open.h"

#include <zip.h>

#include <algorithm>
#include <cctype>
#include <map>

namespace vortastr {

class RomArchive {
public:
    explicit RomArchive(zip_t* archive) : zip_(archive) {}
    ~RomArchive() { zip_discard(zip_); }
    RomArchive(const RomArchive&) = delete;
    RomArchive& operator=(const RomArchive&) = delete;
    zip_t* get() const { return zip_; }

    std::vector<ArchiveMember> members; // files only, in directory order
    FileIdentity identity;

private:
    zip_t* zip_;
};

namespace {

std::string lastComponent(const std::string& name)
{
    const std::size_t slash = name.find_last_of("/\\");
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

std::string withSlashes(std::string name)
{
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

std::string zipErrorText(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

// Wraps an opened archive and lists its file members.
std::shared_ptr<RomArchive> adopt(zip_t* archive)
{
    auto result = std::make_shared<RomArchive>(archive);
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME))
            continue;
        const std::string name = st.name;
        if (name.empty() || name.back() == '/')
            continue;
        result->members.push_back({static_cast<uint64_t>(i), name, (st.valid & ZIP_STAT_SIZE) ? st.size : 0});
    }
    return result;
}

std::map<std::string, std::shared_ptr<RomArchive>>& cache()
{
    static std::map<std::string, std::shared_ptr<RomArchive>> archives;
    return archives;
}

} // namespace

std::shared_ptr<RomArchive> openRomArchive(const std::string& path, std::string& problem)
{
    FileIdentity identity;
    int fd = openRegularFile(path, identity, problem);
    if (fd < 0) {
        cache().erase(path);
        return nullptr;
    }
    auto cached = cache().find(path);
    if (cached != cache().end() && cached->second->identity == identity) {
        closeFile(fd);
        return cached->second;
    }
    int error = 0;
    zip_t* archive = zip_fdopen(fd, ZIP_RDONLY, &error); // takes the descriptor on success
    if (!archive) {
        closeFile(fd);
        cache().erase(path);
        problem = "not a readable zip archive: " + zipErrorText(error);
        return nullptr;
    }
    auto result = adopt(archive);
    result->identity = identity;
    cache()[path] = result;
    return result;
}

std::shared_ptr<RomArchive> openRomArchiveBytes(std::span<const uint8_t> bytes, std::string& problem)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    if (!archive) {
        problem = std::string("not a readable zip archive: ") + zip_error_strerror(&error);
        if (source)
            zip_source_free(source);
        zip_error_fini(&error);
        return nullptr;
    }
    zip_error_fini(&error);
    return adopt(archive);
}

std::optional<ArchiveMember> findArchiveMember(const RomArchive& archive, const std::string& name)
{
    const std::string wanted = withSlashes(name);
    for (const ArchiveMember& m : archive.members)
        if (m.name == wanted)
            return m;
    for (const ArchiveMember& m : archive.members)
        if (sameNameWithoutCase(m.name, wanted))
            return m;
    const std::string last = lastComponent(wanted);
    for (const ArchiveMember& m : archive.members)
        if (sameNameWithoutCase(lastComponent(m.name), last))
            return m;
    return std::nullopt;
}

bool sameNameWithoutCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::vector<ArchiveMember> archiveMembers(const RomArchive& archive) { return archive.members; }

bool readArchiveMember(const RomArchive& archive, const ArchiveMember& member, std::size_t maxBytes,
                       std::vector<uint8_t>& out, std::string& problem)
{
    out.clear();
    zip_file_t* file = zip_fopen_index(archive.get(), member.index, 0);
    if (!file) {
        problem = std::string("cannot read \"") + member.name + "\": " + zip_strerror(archive.get());
        return false;
    }
    const std::size_t limit = std::min(maxBytes, kArchiveReadLimit);
    // The directory's size is only a hint: read in pieces until the member or the limit ends.
    out.resize(std::min<uint64_t>(member.size, limit));
    std::size_t got = 0;
    bool ok = true;
    while (got < limit) {
        if (got == out.size())
            out.resize(std::min(limit, std::max<std::size_t>(out.size() * 2, 4096)));
        const zip_int64_t n = zip_fread(file, out.data() + got, out.size() - got);
        if (n < 0) {
            problem = std::string("cannot read \"") + member.name + "\": " + zip_file_strerror(file);
            ok = false;
            break;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    // A member read to its end has its CRC checked by libzip on the read that finds the end.
    if (ok && got == limit && member.size <= limit) {
        uint8_t extra = 0;
        if (zip_fread(file, &extra, 1) < 0) {
            problem = std::string("cannot read \"") + member.name + "\": " + zip_file_strerror(file);
            ok = false;
        }
    }
    zip_fclose(file);
    out.resize(ok ? got : 0);
    return ok;
}

void forgetRomArchives() { cache().clear(); }

} // namespace vortastr
