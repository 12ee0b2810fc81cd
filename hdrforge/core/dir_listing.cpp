#include "dir_listing.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <strings.h>

#include "atomic_file.h"

namespace hdrforge {
namespace {

namespace fs = std::filesystem;

bool nameLess(const ListingEntry& a, const ListingEntry& b)
{
    int c = ::strcasecmp(a.name.c_str(), b.name.c_str());
    return c != 0 ? c < 0 : a.name < b.name;
}

std::string formatLine(const ListingEntry& e)
{
    std::tm local{};
    ::localtime_r(&e.modified, &local);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d  %02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min);
    char sizeField[48];
    if (e.isFolder)
        std::snprintf(sizeField, sizeof sizeField, "%-14s", "    <DIR>");
    else
        std::snprintf(sizeField, sizeof sizeField, "%14llu", static_cast<unsigned long long>(e.size));
    return std::string(stamp) + "  " + sizeField + " " + e.name + "\n";
}

} // namespace

bool readFolderEntries(const std::string& folder, std::vector<ListingEntry>& entries, std::string& error)
{
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) {
        error = "Cannot list \"" + folder + "\": " + ec.message();
        return false;
    }
    std::vector<ListingEntry> found;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        ListingEntry e;
        e.name = it->path().filename().string();
        struct stat st {};
        // Follow links like a listing does; a broken link is listed as the link itself.
        if (::stat(it->path().c_str(), &st) == 0 || ::lstat(it->path().c_str(), &st) == 0) {
            e.isFolder = S_ISDIR(st.st_mode);
            e.size = e.isFolder ? 0 : static_cast<std::uint64_t>(st.st_size);
            e.modified = st.st_mtime;
        }
        found.push_back(std::move(e));
    }
    if (ec) {
        error = "Cannot list \"" + folder + "\": " + ec.message();
        return false;
    }
    entries = std::move(found);
    return true;
}

std::string formatListing(std::vector<ListingEntry> entries)
{
    std::sort(entries.begin(), entries.end(), nameLess);
    std::string text;
    std::uint64_t files = 0, folders = 0, bytes = 0;
    for (const ListingEntry& e : entries) {
        text += formatLine(e);
        if (e.isFolder) {
            ++folders;
        } else {
            ++files;
            bytes += e.size;
        }
    }
    text += std::to_string(files) + " File(s)  " + std::to_string(bytes) + " bytes  " + std::to_string(folders) +
            " Dir(s)\n";
    return text;
}

bool writeFolderListing(const std::string& folder, const std::string& outPath, std::string& error)
{
    std::vector<ListingEntry> entries;
    if (!readFolderEntries(folder, entries, error))
        return false;
    std::error_code ec;
    fs::path out(outPath);
    entries.erase(
        std::remove_if(entries.begin(), entries.end(),
                       [&](const ListingEntry& e) { return fs::equivalent(fs::path(folder) / e.name, out, ec); }),
        entries.end());
    return writeFileAtomically(outPath, formatListing(std::move(entries)), error);
}

} // namespace hdrforge
