#pragma once
// Writing a generated set of files into a folder, each through a temporary file and a rename.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vortastr::testrom {

// Creates folder (with its parents) and writes every file into it; false with a reason when a
// file cannot be written.
bool writeFileSet(const std::string& folder, const std::map<std::string, std::vector<uint8_t>>& files,
                  std::string& error);

} // namespace vortastr::testrom
