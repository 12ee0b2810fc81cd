#pragma once
// Scratch folders and byte files for the tests of every program.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace suite::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    explicit TempDir(const std::string& prefix = "suite-test");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }
    // A name inside the folder.
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Writes the bytes (making missing parent folders); throws std::runtime_error when it cannot.
void writeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
// The whole file; empty when it is missing.
std::vector<uint8_t> readFile(const std::filesystem::path& path);

} // namespace suite::test
