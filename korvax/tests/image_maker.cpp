#include "image_maker.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace korvax::test {
namespace fs = std::filesystem;

std::vector<std::uint8_t> makeHeader(const HeaderContents& contents)
{
    std::vector<std::uint8_t> data(std::max<std::size_t>(contents.size, 256), ' ');
    auto put = [&](std::size_t offset, const std::string& text) {
        for (std::size_t i = 0; i < text.size(); ++i)
            data[offset + i] = static_cast<std::uint8_t>(text[i]);
    };
    put(0, "SEGA SEGASATURN ");
    put(16, "SEGA TP T-000");
    put(32, "T-00001G");
    put(42, "V1.000");
    put(48, "19950101");
    put(56, "CD-1/1");
    put(64, contents.areas);
    put(80, contents.peripherals);
    put(96, contents.title);
    for (std::size_t i = 256; i < data.size(); ++i)
        data[i] = 0;
    data.resize(contents.size);
    return data;
}

bool makeIso(const fs::path& image, const std::string& label,
             const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& files,
             const std::vector<std::uint8_t>& systemArea)
{
    const fs::path root = image.parent_path() / (image.filename().string() + ".root");
    fs::create_directories(root);
    for (const auto& [name, data] : files)
        writeFile(root / name, data);
    std::string command = "genisoimage -quiet -o '" + image.string() + "'";
    if (!label.empty())
        command += " -V '" + label + "'";
    if (!systemArea.empty()) {
        const fs::path boot = image.parent_path() / (image.filename().string() + ".sys");
        writeFile(boot, systemArea);
        command += " -G '" + boot.string() + "'";
    }
    command += " '" + root.string() + "' 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

namespace {

std::uint8_t bcd(int v) { return static_cast<std::uint8_t>((v / 10) << 4 | (v % 10)); }

} // namespace

void makeRawImage(const fs::path& iso, const fs::path& bin, const fs::path& cue)
{
    const std::vector<std::uint8_t> data = readFile(iso);
    std::vector<std::uint8_t> raw;
    const std::size_t sectors = (data.size() + 2047) / 2048;
    raw.reserve(sectors * 2352);
    for (std::size_t s = 0; s < sectors; ++s) {
        std::uint8_t sector[2352] = {};
        for (int i = 1; i <= 10; ++i)
            sector[i] = 0xFF;
        const int frame = static_cast<int>(s) + 150;
        sector[12] = bcd(frame / (60 * 75));
        sector[13] = bcd(frame / 75 % 60);
        sector[14] = bcd(frame % 75);
        sector[15] = 1;
        for (std::size_t i = 0; i < 2048 && s * 2048 + i < data.size(); ++i)
            sector[16 + i] = data[s * 2048 + i];
        raw.insert(raw.end(), sector, sector + sizeof sector);
    }
    writeFile(bin, raw);
    if (!cue.empty()) {
        std::ofstream out(cue);
        out << "FILE \"" << bin.filename().string() << "\" BINARY\n"
            << "  TRACK 01 MODE1/2352\n"
            << "    INDEX 01 00:00:00\n";
    }
}

} // namespace korvax::test
