#include "tests/zip_writer.h"

#include <zip.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace vortastr::test {

void writeZip(const std::filesystem::path& archive, const ZipMembers& members)
{
    int error = 0;
    zip_t* zip = zip_open(archive.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!zip)
        throw std::runtime_error("cannot create " + archive.string());
    for (const auto& [name, bytes] : members) {
        zip_source_t* source = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
        if (!source || zip_file_add(zip, name.c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(source);
            zip_discard(zip);
            throw std::runtime_error("cannot add " + name);
        }
    }
    // The buffers are read when the archive is written, here.
    if (zip_close(zip) != 0) {
        zip_discard(zip);
        throw std::runtime_error("cannot write " + archive.string());
    }
}

ZipMembers folderMembers(const std::filesystem::path& folder,
                         const std::function<std::string(const std::string&)>& rename)
{
    ZipMembers members;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        const std::string relative = std::filesystem::relative(entry.path(), folder).generic_string();
        members.emplace_back(rename ? rename(relative) : relative, readBytes(entry.path()));
    }
    return members;
}

std::vector<uint8_t> readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace vortastr::test
