#include "testrom/file_set.h"

#include <filesystem>
#include <fstream>

namespace vortastr::testrom {

bool writeFileSet(const std::string& folder, const std::map<std::string, std::vector<uint8_t>>& files,
                  std::string& error)
{
    namespace fs = std::filesystem;
    const fs::path directory(folder);
    std::error_code ec;
    fs::create_directories(directory, ec);
    if (ec) {
        error = "cannot create " + directory.string() + ": " + ec.message();
        return false;
    }
    for (const auto& [name, bytes] : files) {
        const fs::path path = directory / name;
        const fs::path temporary = directory / (name + ".tmp");
        {
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
            out.close();
            if (!out) {
                error = "cannot write " + temporary.string();
                return false;
            }
        }
        fs::rename(temporary, path, ec);
        if (ec) {
            error = "cannot write " + path.string() + ": " + ec.message();
            return false;
        }
    }
    return true;
}

} // namespace vortastr::testrom
