#include "testrom/rom_packing.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace vortastr::testrom {

bool readBinary(const std::string& path, Bytes& bytes, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "cannot read " + path;
        return false;
    }
    return true;
}

std::vector<Bytes> splitImage(const Bytes& image, const std::vector<std::size_t>& sizes, uint8_t fill)
{
    std::size_t total = 0;
    for (std::size_t size : sizes)
        total += size;
    if (image.size() > total)
        throw std::length_error("image of " + std::to_string(image.size()) + " bytes does not fit in " +
                                std::to_string(total));
    std::vector<Bytes> pieces;
    std::size_t from = 0;
    for (std::size_t size : sizes) {
        Bytes piece(size, fill);
        for (std::size_t i = 0; i < size && from + i < image.size(); ++i)
            piece[i] = image[from + i];
        pieces.push_back(std::move(piece));
        from += size;
    }
    return pieces;
}

std::vector<Bytes> interleaveImage(const Bytes& image, std::size_t ways, std::size_t width, std::size_t chipSize,
                                   uint8_t fill)
{
    if (ways == 0 || width == 0 || chipSize % width != 0)
        throw std::invalid_argument("interleave needs ways and a width that divides the chip size");
    if (image.size() > ways * chipSize)
        throw std::length_error("image of " + std::to_string(image.size()) + " bytes does not fit in " +
                                std::to_string(ways) + " chips of " + std::to_string(chipSize));
    std::vector<Bytes> chips(ways, Bytes(chipSize, fill));
    for (std::size_t i = 0; i < image.size(); ++i) {
        const std::size_t group = i / width;
        chips[group % ways][(group / ways) * width + i % width] = image[i];
    }
    return chips;
}

Bytes placeInChip(const Bytes& image, std::size_t offset, std::size_t size, uint8_t fill)
{
    if (offset > size || image.size() > size - offset)
        throw std::length_error("image does not fit in its chip");
    Bytes chip(size, fill);
    std::copy(image.begin(), image.end(), chip.begin() + std::ptrdiff_t(offset));
    return chip;
}

bool writeRomFiles(const std::string& folder, const std::string& game, const RomFiles& files, std::string& error)
{
    namespace fs = std::filesystem;
    const fs::path gameFolder = fs::path(folder) / game;
    std::error_code ec;
    fs::create_directories(gameFolder, ec);
    if (ec) {
        error = "cannot create " + gameFolder.string() + ": " + ec.message();
        return false;
    }
    for (const auto& [name, bytes] : files) {
        const fs::path path = gameFolder / name;
        const fs::path temporary = gameFolder / (name + ".tmp");
        {
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
            out.close();
            if (!out) {
                error = "cannot write " + temporary.string();
                fs::remove(temporary, ec);
                return false;
            }
        }
        fs::rename(temporary, path, ec);
        if (ec) {
            error = "cannot write " + path.string() + ": " + ec.message();
            fs::remove(temporary, ec);
            return false;
        }
    }
    return true;
}

bool writeRomSets(const std::string& folder, const std::string& set, const RomSets& sets, std::string& error)
{
    if (!set.empty() && !sets.count(set)) {
        error = "no test ROM set for " + set;
        return false;
    }
    for (const auto& [name, files] : sets)
        if ((set.empty() || set == name) && !writeRomFiles(folder, name, files, error))
            return false;
    return true;
}

} // namespace vortastr::testrom
