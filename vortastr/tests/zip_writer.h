#pragma once
// Zip archives written by the tests with libzip: named members, or a whole folder.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vortastr::test {

using ZipMembers = std::vector<std::pair<std::string, std::vector<uint8_t>>>;

// Writes the archive (deflated members); throws when libzip fails.
void writeZip(const std::filesystem::path& archive, const ZipMembers& members);

// Every file below `folder`, named by `rename` from its path relative to the folder.
ZipMembers folderMembers(const std::filesystem::path& folder,
                         const std::function<std::string(const std::string&)>& rename = {});

std::vector<uint8_t> readBytes(const std::filesystem::path& path);

} // namespace vortastr::test
