// "Make List": a text listing of one folder, written by the program itself.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace hdrforge {

struct ListingEntry {
    std::string name;
    bool isFolder = false;
    std::uint64_t size = 0;
    std::time_t modified = 0;
};

// The entries of folder ("." and ".." left out). Entries whose details cannot be read are
// still listed by name; a folder that cannot be read is an error.
bool readFolderEntries(const std::string& folder, std::vector<ListingEntry>& entries, std::string& error);

// Entries sorted by name (ignoring case), one line each: date, time, size or <DIR>, name;
// then the count line.
std::string formatListing(std::vector<ListingEntry> entries);

// Lists folder into outPath (through a temporary file and a rename). The list file itself is
// left out of the listing, so a second run does not list the first run's output.
bool writeFolderListing(const std::string& folder, const std::string& outPath, std::string& error);

} // namespace hdrforge
