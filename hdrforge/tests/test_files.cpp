#include "test_files.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "hdrforge-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void writeBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

Bytes readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes gameImage(std::size_t size, const Bytes& header) {
    Bytes game(size);
    for (std::size_t i = 0; i < size; ++i) game[i] = static_cast<std::uint8_t>(i * 7 + 3);
    for (std::size_t i = 0; i < header.size() && i < size; ++i) game[i] = header[i];
    return game;
}

Bytes headerBytes(std::uint8_t prg, std::uint8_t chr, std::uint8_t b6, std::uint8_t b7,
                  std::uint8_t tail) {
    Bytes h{'N', 'E', 'S', 0x1A, prg, chr, b6, b7};
    h.resize(16, tail);
    return h;
}
