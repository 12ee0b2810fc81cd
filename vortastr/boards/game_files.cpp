#include "boards/game_files.h"

#include "boards/rom_files.h"

#include <filesystem>

namespace vortastr {

std::string gameFilePath(const std::string& name)
{
    namespace fs = std::filesystem;
    const std::string existing = resolveRomPath(name);
    std::error_code ec;
    if (fs::exists(existing, ec))
        return existing;
    const std::size_t split = name.find_last_of("\\/");
    if (split == std::string::npos)
        return existing;
    return (fs::path(resolveRomPath(name.substr(0, split))) / name.substr(split + 1)).string();
}

} // namespace vortastr
