#include "app/png_writer.h"

#include <zlib.h>

#include <cstdio>

namespace reelcast {
namespace {

void putU32(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v >> 24));
    out.push_back(uint8_t(v >> 16));
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}

void putChunk(std::vector<uint8_t>& out, const char type[4], const uint8_t* data, size_t size)
{
    putU32(out, uint32_t(size));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data, data + size);
    putU32(out, uint32_t(crc32(0, out.data() + start, uInt(size + 4))));
}

} // namespace

std::vector<uint8_t> encodePng(const uint32_t* pixels, uint32_t width, uint32_t height)
{
    // Scanlines with filter type 0 (none), then one zlib stream.
    const size_t stride = size_t(width) * 3 + 1;
    std::vector<uint8_t> raw(stride * height);
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* line = raw.data() + y * stride;
        line[0] = 0;
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t p = pixels[size_t(y) * width + x];
            line[1 + x * 3] = uint8_t(p);
            line[2 + x * 3] = uint8_t(p >> 8);
            line[3 + x * 3] = uint8_t(p >> 16);
        }
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), 6);
    packed.resize(packedSize);

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> ihdr;
    putU32(ihdr, width);
    putU32(ihdr, height);
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0}); // 8 bits, RGB, deflate, no interlace
    putChunk(png, "IHDR", ihdr.data(), ihdr.size());
    putChunk(png, "IDAT", packed.data(), packed.size());
    putChunk(png, "IEND", nullptr, 0);
    return png;
}

bool writePng(const std::string& path, const uint32_t* pixels, uint32_t width, uint32_t height)
{
    const std::vector<uint8_t> png = encodePng(pixels, width, height);
    const std::string temp = path + ".tmp";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(png.data(), 1, png.size(), f) == png.size();
    ok = (std::fclose(f) == 0) && ok;
    if (ok)
        ok = std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok)
        std::remove(temp.c_str());
    return ok;
}

} // namespace reelcast
