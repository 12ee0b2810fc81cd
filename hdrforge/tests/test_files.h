// Scratch folders and byte files for the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

void writeBytes(const std::string& path, const Bytes& bytes);
Bytes readBytes(const std::string& path);

// A game of `size` bytes: the given header bytes first, then a recognisable pattern.
Bytes gameImage(std::size_t size, const Bytes& header);

// A 16-byte header: "NES" 1A, then bytes 4 to 7, then eight bytes `tail`.
Bytes headerBytes(std::uint8_t prg, std::uint8_t chr, std::uint8_t b6, std::uint8_t b7,
                  std::uint8_t tail = 0);
