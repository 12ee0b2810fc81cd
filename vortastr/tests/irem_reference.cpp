#include "tests/irem_reference.h"

#include "boards/irem/irem_test_set.h"
#include "video/colour_tables.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace vortastr::test {
namespace {

constexpr int kWidth = 512, kHeight = 256;

uint8_t component(int v) { return uint8_t((v << 3) | (v & 7)); }

// Pen of a tile or sprite decoded straight from the four plane files of its image.
struct PlaneFiles {
    const testrom::Bytes* plane[4];
    int pen(std::size_t byte, int bit) const
    {
        int pen = 0;
        for (int k = 0; k < 4; ++k)
            if (byte < plane[k]->size() && ((*plane[k])[byte] >> bit) & 1)
                pen |= 1 << k;
        return pen;
    }
};

struct Graphics {
    std::vector<PlaneFiles> tileImages, spriteImages;
    int tilesPerImage = 0;

    int tilePen(int tile, int x, int y) const
    {
        const std::size_t image = std::size_t(tile / tilesPerImage);
        if (image >= tileImages.size())
            return 0;
        return tileImages[image].pen(std::size_t(tile % tilesPerImage) * 8 + std::size_t(y), 7 - x);
    }
    int spritePen(int sprite, int x, int y) const
    {
        const std::size_t image = std::size_t(sprite / 2048);
        if (image >= spriteImages.size())
            return 0;
        return spriteImages[image].pen(std::size_t(sprite % 2048) * 32 + std::size_t(x / 8) * 16 + std::size_t(y),
                                       7 - x % 8);
    }
};

PlaneFiles files(const testrom::RomFiles& set, std::initializer_list<const char*> names)
{
    PlaneFiles p{};
    int k = 0;
    for (const char* name : names)
        p.plane[k++] = &set.at(name);
    return p;
}

Graphics graphicsOf(const testrom::RomFiles& set, bool rtype2)
{
    Graphics g;
    if (!rtype2) {
        g.tilesPerImage = 4096;
        g.tileImages = {files(set, {"cn5_a0.bin", "cn5_a1.bin", "cn5_a2.bin", "cn5_a3.bin"}),
                        files(set, {"cn5_b0.bin", "cn5_b1.bin", "cn5_b2.bin", "cn5_b3.bin"})};
        g.spriteImages = {files(set, {"cn3_00.bin", "cn3_10.bin", "cn3_20.bin", "cn3_30.bin"}),
                          files(set, {"cn3_01.bin", "cn3_11.bin", "cn3_21.bin", "cn3_31.bin"})};
    } else {
        g.tilesPerImage = 8192;
        g.tileImages = {files(set, {"rt2_g00l.bin", "rt2_g10l.bin", "rt2_g20l.bin", "rt2_g30l.bin"}),
                        files(set, {"rt2_g00u.bin", "rt2_g10u.bin", "rt2_g20u.bin", "rt2_g30u.bin"}),
                        files(set, {"rt2_g01l.bin", "rt2_g11l.bin", "rt2_g21l.bin", "rt2_g31l.bin"}),
                        files(set, {"rt2_g01u.bin", "rt2_g11u.bin", "rt2_g21u.bin", "rt2_g31u.bin"})};
        g.spriteImages = {files(set, {"rt2_n0_l.bin", "rt2_n1_l.bin", "rt2_n2_l.bin", "rt2_n3_l.bin"}),
                          files(set, {"rt2_n0_u.bin", "rt2_n1_u.bin", "rt2_n2_u.bin", "rt2_n3_u.bin"})};
    }
    return g;
}

// A layer pixel's colour value (16 g + pen, 0 for pen 0) by the program's cell pattern.
// first: blank where (col xor row) & 2 is 0, else tile 1 + ((col + 3 row) & 63), x flip on odd
// columns, y flip on odd rows, group (col / 2) & 15. second: tile base + ((5 col + row) & 63),
// x flip when row & 2, y flip when col & 2, group row & 15; RType adds 4096 to the second
// layer's numbers, RType II's program uses 0x4001 on.
int layerValue(const Graphics& g, bool rtype2, bool first, int px, int py)
{
    const int col = px / 8, row = py / 8;
    int tile, group;
    bool flipX, flipY;
    if (first) {
        if (((col ^ row) & 2) == 0)
            tile = 0, group = 0, flipX = flipY = false;
        else
            tile = 1 + ((col + 3 * row) & 63), group = (col / 2) & 15, flipX = col & 1, flipY = row & 1;
    } else {
        tile = (rtype2 ? 0x4001 : 4097) + ((5 * col + row) & 63);
        group = row & 15, flipX = row & 2, flipY = col & 2;
    }
    const int x = flipX ? 7 - px % 8 : px % 8, y = flipY ? 7 - py % 8 : py % 8;
    const int pen = g.tilePen(tile, x, y);
    return pen ? 16 * group + pen : 0;
}

struct Sprite {
    int w0, w1, w2, w3;
};

// The sprite value at a screen pixel (16 g + pen) or -1, later entries over earlier ones.
int spriteValue(const Graphics& g, const std::vector<Sprite>& sprites, int xBias, bool powerOfTwo, int sx, int sy)
{
    int value = -1;
    for (const Sprite& s : sprites) {
        if (s.w3 == 0 || s.w1 >= 4096)
            continue;
        const int parts = powerOfTwo ? 1 << ((s.w2 >> 12) & 3) : ((s.w2 & 0x1000) ? 2 : 1) + ((s.w2 & 0x2000) ? 3 : 0);
        const int columns = (s.w2 & 0x4000) ? 2 : 1;
        const int left = s.w3 - xBias, top = 384 - (s.w0 & 0x1FF) - 16 * parts;
        if (sx < left || sx >= left + 16 * columns || sy < top || sy >= top + 16 * parts)
            continue;
        const bool flipX = s.w2 & 0x800, flipY = s.w2 & 0x400;
        const int k = (sy - top) / 16, j = (sx - left) / 16;
        // Seen on screen, the parts run from the last code up when flipped, the columns swap.
        const int code = (s.w1 & 0xFFF) + (flipY ? parts - 1 - k : k) + 8 * (flipX ? columns - 1 - j : j);
        const int u = (sx - left) % 16, v = (sy - top) % 16;
        const int pen = g.spritePen(code, flipX ? 15 - u : u, flipY ? 15 - v : v);
        if (pen)
            value = 16 * (s.w2 & 15) + pen;
    }
    return value;
}

} // namespace

int countWrongPixels(const ScreenSurface& screen, const std::vector<uint16_t>& expected, std::string& report)
{
    if (screen.width() != kWidth || screen.height() != kHeight || screen.format() != PixelFormat::Rgb565)
        return kWidth * kHeight;
    int wrong = 0;
    char line[96];
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            uint16_t actual;
            std::memcpy(&actual, screen.pixels() + y * screen.pitch() + 2 * x, 2);
            const uint16_t want = expected[std::size_t(y) * kWidth + std::size_t(x)];
            if (actual != want && ++wrong <= 5) {
                std::snprintf(line, sizeof line, "pixel (%d, %d) is %04x, expected %04x\n", x, y, actual, want);
                report += line;
            }
        }
    return wrong;
}

testrom::Bytes assembledIremProgram(const char* name)
{
    testrom::Bytes bytes;
    std::string error;
    if (!testrom::readBinary(std::string(IREM_PROGRAM_DIR) + "/" + name, bytes, error))
        bytes.clear();
    return bytes;
}

IremProgramState readIremProgramState(const uint8_t* memory, bool rtype2)
{
    const auto word = [&](uint32_t a) { return int(memory[a] | memory[a + 1] << 8); };
    const uint32_t work = irem::testset::workRam(rtype2);
    return {rtype2, word(work), word(work + 2), word(work + 4)};
}

uint16_t programColour(int bank, int colour)
{
    const int p = colour & 15, g = colour >> 4;
    const PixelLayout layout;
    if (bank == 0)
        return colour16Of(component(2 * p + 1), component(2 * g), component(31 - p), layout);
    return colour16Of(component(31 - p), component(2 * p), component(2 * g + 1), layout);
}

std::vector<uint16_t> expectedIremPicture(const testrom::RomFiles& set, const IremProgramState& st)
{
    const Graphics g = graphicsOf(set, st.rtype2);
    const int f = st.frame;
    // Scroll words the program writes (see irem_test.asm), turned into layer offsets.
    const auto yOf = [](int word) { return (word + 128) % 512; };
    const int splitY = yOf(0x100 + f), splitX = (100 + 3 * f) % 512;
    const int otherY = yOf(2 * f), otherX = (0x1F0 + f) % 512;
    const int lowerY = yOf((2 * f + 0x40) & 0x1FF), lowerX = (0x1F0 - f) & 0x1FF;
    const int xBias = st.rtype2 ? 260 : 256;
    const std::vector<Sprite> sprites = {{st.spriteW0 & 0x1FF, 0x821, 0x5C03, st.spriteW3},
                                         {120, 0x030, 0x5005, 300 + xBias},
                                         {150, 0x1000, 0, 0x150},
                                         {100, 0x10, 0, 0}};

    std::vector<uint16_t> picture(std::size_t(kWidth) * kHeight, 0);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 64; x < 440; ++x) {
            uint16_t& out = picture[std::size_t(y) * kWidth + std::size_t(x)];
            if (y >= 240) {
                out = programColour(0, layerValue(g, st.rtype2, true, x, y - 240));
                continue;
            }
            // Second layer: RType's scrolls whole with the split values; RType II's upper half
            // with them (latched) and its lower half with the raster handler's.
            const bool lower = st.rtype2 && y >= 120;
            const int bx = lower ? lowerX : splitX, by = lower ? lowerY : splitY;
            int value = layerValue(g, st.rtype2, false, (x + bx) % 512, (y + by) % 512);
            int bank = 0;
            const int sprite = spriteValue(g, sprites, xBias, st.rtype2, x, y);
            if (!st.rtype2 && sprite >= 0)
                value = sprite, bank = 1;
            const int front = layerValue(g, st.rtype2, true, (x + otherX) % 512, (y + otherY) % 512);
            if (front)
                value = front, bank = 0;
            if (st.rtype2 && sprite >= 0)
                value = sprite, bank = 1;
            out = programColour(bank, value);
        }
    return picture;
}

} // namespace vortastr::test
