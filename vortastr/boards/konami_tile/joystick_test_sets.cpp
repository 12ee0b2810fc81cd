#include "boards/konami_tile/joystick_test_sets.h"

#include "boards/konami_tile/tile_graphics_encode.h"
#include "boards/konami_tile/tile_test_sets.h"
#include "testrom/m6809_emitter.h"
#include "testrom/m6809_opcodes.h"

#include <array>

namespace vortastr::testrom {
namespace {

constexpr std::size_t kFileBytes = 0x2000;

// 5 x 7 letters the shared art lacks, one byte per row, bit 4 the left pixel.
const std::array<uint8_t, 7>* extraGlyph(int c)
{
    static const std::array<uint8_t, 7> g = {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F};
    static const std::array<uint8_t, 7> m = {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11};
    static const std::array<uint8_t, 7> q = {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D};
    static const std::array<uint8_t, 7> w = {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A};
    static const std::array<uint8_t, 7> z = {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F};
    switch (c) {
    case 'G': return &g;
    case 'M': return &m;
    case 'Q': return &q;
    case 'W': return &w;
    case 'Z': return &z;
    default: return nullptr;
    }
}

// ---- The boards' differences --------------------------------------------------------------

struct Store {
    uint16_t address;
    uint8_t value;
};
struct Step { // a byte the program steps every frame
    uint16_t address;
    bool up;
};

struct Layout {
    uint16_t romStart;
    bool encrypted;
    uint16_t stackTop, variables;
    uint16_t interruptEnable;
    uint8_t enableValue; // what turns the board's IRQ on
    uint16_t systemPort, joystickPort, dipPort;
    uint16_t imageAddress, imageSize; // the tile RAM image: codes and attributes
    uint16_t spriteX, spriteY, spriteCode, spriteAttr;
    uint8_t code, attr;
    uint8_t startX, startY;
    bool downDecrements; // the sprite's y counts up the screen
    std::vector<Store> stores;
    std::vector<Step> steps;
};

// Shaolin's Road's sprite entries: x, code and flips, colour, y.
constexpr uint16_t kShaolinSprites = 0x2800;
constexpr uint16_t kShaolinSpriteBank = 0x0001;
constexpr uint8_t kShaolinBank = 1;

Layout layoutOf(JoystickBoard board)
{
    switch (board) {
    case JoystickBoard::WhizQuiz: {
        // Track'n'Field's map; the band's rows step their row scroll every frame.
        Layout l{.romStart = 0x6000,
                 .encrypted = true,
                 .stackTop = 0x0F00,
                 .variables = 0x0800,
                 .interruptEnable = 0x1087,
                 .enableValue = 1,
                 .systemPort = 0x1280,
                 .joystickPort = 0x1281,
                 .dipPort = 0x1283,
                 .imageAddress = 0x3000,
                 .imageSize = 0x1000,
                 .spriteX = 0x1C00,
                 .spriteY = 0x1801,
                 .spriteCode = 0x1C01,
                 .spriteAttr = 0x1800,
                 .code = 1,
                 .attr = 0x43,
                 .startX = 100,
                 .startY = 120,
                 .downDecrements = true,
                 .stores = {},
                 .steps = {}};
        for (int r = 0; r < kWhizQuizBandRows; ++r)
            l.steps.push_back({uint16_t(0x1840 + kWhizQuizBandRow + r), true});
        return l;
    }
    case JoystickBoard::ShaolinsRoad: {
        // Bit 2 of the control byte enables the IRQ; the sprites come from bank 1.
        Layout l{.romStart = 0x6000,
                 .encrypted = false,
                 .stackTop = 0x2700,
                 .variables = 0x2000,
                 .interruptEnable = 0x0000,
                 .enableValue = 0x04,
                 .systemPort = 0x0080,
                 .joystickPort = 0x0081,
                 .dipPort = 0x0083,
                 .imageAddress = 0x3000,
                 .imageSize = 0x0800,
                 .spriteX = kShaolinSprites,
                 .spriteY = kShaolinSprites + 3,
                 .spriteCode = kShaolinSprites + 1,
                 .spriteAttr = kShaolinSprites + 2,
                 .code = 1,
                 .attr = 3,
                 .startX = 100,
                 .startY = 120,
                 .downDecrements = false,
                 .stores = {{kShaolinSpriteBank, kShaolinBank}},
                 .steps = {}};
        int entry = 1;
        for (const PlacedSprite& s : stillSprites(board)) {
            const uint16_t e = uint16_t(kShaolinSprites + 4 * entry++);
            const uint8_t flags = uint8_t((s.flipX ? 0x80 : 0) | (s.flipY ? 0x40 : 0) | 1);
            l.stores.insert(l.stores.end(), {{e, uint8_t(s.x)},
                                             {uint16_t(e + 1), flags},
                                             {uint16_t(e + 2), uint8_t(s.group)},
                                             {uint16_t(e + 3), uint8_t(s.y)}});
        }
        return l;
    }
    case JoystickBoard::MegaZone:
        // The x scroll byte counts up and the y scroll byte down, one a frame.
        return {.romStart = 0x6000,
                .encrypted = true,
                .stackTop = 0x3F00,
                .variables = 0x3800,
                .interruptEnable = 0x0007,
                .enableValue = 1,
                .systemPort = 0x0080,
                .joystickPort = 0x0081,
                .dipPort = 0x0083,
                .imageAddress = 0x2000,
                .imageSize = 0x0C00,
                .spriteX = 0x3001,
                .spriteY = 0x3003,
                .spriteCode = 0x3002,
                .spriteAttr = 0x3000,
                .code = 1,
                .attr = 0x15,
                .startX = 100,
                .startY = 120,
                .downDecrements = false,
                .stores = {{0x1800, 3}, {0x1000, 0xC0}},
                .steps = {{0x1800, true}, {0x1000, false}}};
    }
    return {};
}

// The byte offsets (from the image start) and bytes of one map cell.
struct Cell {
    std::size_t codeAt, attrAt;
    uint8_t code, attr;
};

Cell cellOf(JoystickBoard board, const PlacedTile& t)
{
    const int high = t.tile >> 8;
    const uint8_t code = uint8_t(t.tile & 0xFF);
    const int group = t.group & 15;
    switch (board) {
    case JoystickBoard::WhizQuiz: {
        const std::size_t at = std::size_t(t.cellY * 64 + t.cellX);
        return {at, at + 0x800, code, uint8_t(group | (high & 3) << 6 | (t.flipX ? 0x10 : 0) | (t.flipY ? 0x20 : 0))};
    }
    case JoystickBoard::MegaZone: {
        const std::size_t at = std::size_t(992 + t.cellY - 32 * t.cellX);
        return {at, at + 0x800, code, uint8_t(group | (high & 1) << 7 | (t.flipX ? 0x20 : 0) | (t.flipY ? 0x40 : 0))};
    }
    case JoystickBoard::ShaolinsRoad: {
        // The board does not flip tiles: bits 4 to 6 are set on the flip row and must not show.
        const std::size_t at = std::size_t(992 + t.cellY - 32 * t.cellX);
        const uint8_t noise = t.cellY == 6 ? uint8_t(0x10 * (t.cellX % 8)) & 0x70 : 0;
        return {at, at + 0x400, code, uint8_t(group | (high & 1) << 7 | noise)};
    }
    }
    return {};
}

std::vector<uint8_t> tileRamImage(JoystickBoard board, const Layout& l)
{
    std::vector<uint8_t> image(l.imageSize, 0);
    for (const PlacedTile& t : joystickMapTiles(board)) {
        const Cell c = cellOf(board, t);
        if (c.codeAt < image.size() && c.attrAt < image.size())
            image[c.codeAt] = c.code, image[c.attrAt] = c.attr;
    }
    return image;
}

// ---- The program ----------------------------------------------------------------------------

using namespace m6809;

void storeImmediate(Emitter& a, uint8_t value, uint16_t address)
{
    a.op(LDA_IMM), a.byte(value);
    a.op(STA_EXT), a.word(address);
}

std::vector<uint8_t> assemble(JoystickBoard board)
{
    const Layout l = layoutOf(board);
    const uint16_t frames = l.variables, x = uint16_t(l.variables + 1), y = uint16_t(l.variables + 2),
                   input = uint16_t(l.variables + 3);
    Emitter a(l.romStart, std::size_t(0x10000 - l.romStart),
              l.encrypted ? OpcodeEncryption(konamiOpcodeEncryption) : nullptr);
    a.org(l.romStart);
    a.label("reset");
    a.op(PREFIX10, LDS_IMM), a.word(l.stackTop);
    a.op(CLRA);
    a.op(STA_EXT), a.word(l.interruptEnable);
    a.op(LDX_IMM), a.word("image");
    a.op(PREFIX10, LDY_IMM), a.word(l.imageAddress);
    a.label("copy");
    a.op(LDD_IDX), a.byte(kPostIncrement2);
    a.op(STD_IDX), a.byte(kPostIncrementY2);
    a.op(PREFIX10, CMPY_IMM), a.word(uint16_t(l.imageAddress + l.imageSize));
    a.branch(BNE, "copy");
    a.op(LDA_EXT), a.word(l.dipPort); // the settings, read once at start as a game does
    a.op(STA_EXT), a.word(input);
    storeImmediate(a, l.startX, x);
    storeImmediate(a, l.startY, y);
    storeImmediate(a, l.code, l.spriteCode);
    storeImmediate(a, l.attr, l.spriteAttr);
    for (const Store& s : l.stores)
        storeImmediate(a, s.value, s.address);
    storeImmediate(a, l.enableValue, l.interruptEnable);
    a.op(ANDCC), a.byte(0xEF); // IRQs on

    a.label("main");
    a.op(LDA_EXT), a.word(frames);
    a.label("wait");
    a.op(CMPA_EXT), a.word(frames);
    a.branch(BEQ, "wait");
    a.op(LDA_EXT), a.word(l.systemPort);
    a.op(LDA_EXT), a.word(l.joystickPort);
    a.op(STA_EXT), a.word(input);
    // Joystick: right clears bit 1, left bit 0, down bit 3, up bit 2.
    const struct {
        uint8_t mask;
        bool up;
        uint16_t variable;
    } moves[] = {{0x02, true, x}, {0x01, false, x}, {0x08, !l.downDecrements, y}, {0x04, l.downDecrements, y}};
    int n = 0;
    for (const auto& m : moves) {
        const std::string skip = "skip" + std::to_string(n++);
        a.op(LDA_EXT), a.word(input);
        a.op(BITA_IMM), a.byte(m.mask);
        a.branch(BNE, skip);
        a.op(m.up ? INC_EXT : DEC_EXT), a.word(m.variable);
        a.label(skip);
    }
    a.op(LDA_EXT), a.word(x);
    a.op(STA_EXT), a.word(l.spriteX);
    a.op(LDA_EXT), a.word(y);
    a.op(STA_EXT), a.word(l.spriteY);
    for (const Step& s : l.steps)
        a.op(s.up ? INC_EXT : DEC_EXT), a.word(s.address);
    a.branch(BRA, "main");

    // The interrupt is acknowledged by turning it off and on again.
    a.label("irq");
    a.op(CLRA);
    a.op(STA_EXT), a.word(l.interruptEnable);
    storeImmediate(a, l.enableValue, l.interruptEnable);
    a.op(INC_EXT), a.word(frames);
    a.op(RTI);

    a.label("image");
    a.data(tileRamImage(board, l));
    a.org(0xFFF8);
    a.word("irq");
    a.org(0xFFFE);
    a.word("reset");
    return a.finish();
}

// ---- Graphics encoders ----------------------------------------------------------------------

// Packed nibbles, 32 bytes a tile; `turned`: byte b is column 7 - b/4, rows 2(b%4) and +1,
// else 4 bytes a row with the high nibble left.
Bytes packedTiles(int firstTile, bool turned)
{
    Bytes file(kFileBytes, 0);
    for (int t = 0; t < 256; ++t)
        for (int b = 0; b < 32; ++b) {
            const int x = turned ? 7 - b / 4 : (b % 4) * 2, y = turned ? 2 * (b % 4) : b / 4;
            const int second =
                turned ? joystickTilePen(firstTile + t, x, y + 1) : joystickTilePen(firstTile + t, x + 1, y);
            file[std::size_t(32 * t + b)] = static_cast<uint8_t>(joystickTilePen(firstTile + t, x, y) << 4 | second);
        }
    return file;
}

// Nibble-plane tiles, 16 bytes a tile: bytes 0-7 the left half's rows, 8-15 the right half's.
void nibbleTiles(Bytes& a, Bytes& b)
{
    for (int t = 0; t < 512; ++t)
        for (int k = 0; k < 16; ++k)
            for (int j = 0; j < 4; ++j)
                putNibblePair(a[std::size_t(16 * t + k)], b[std::size_t(16 * t + k)], j,
                              joystickTilePen(t, (k / 8) * 4 + j, k % 8));
}

// Nibble-plane sprites, 64 bytes a sprite: bytes 0-31 rows 0-7, 32-63 rows 8-15, each eight
// bytes four columns further right.
void nibbleSprites(JoystickBoard board, Bytes& a, Bytes& b, int firstSprite)
{
    const int count = int(a.size() / 64);
    for (int s = 0; s < count; ++s)
        for (int k = 0; k < 64; ++k) {
            const int y = (k / 32) * 8 + k % 8, x = ((k % 32) / 8) * 4;
            for (int j = 0; j < 4; ++j)
                putNibblePair(a[std::size_t(64 * s + k)], b[std::size_t(64 * s + k)], j,
                              joystickSpritePen(board, firstSprite + s, x + j, y));
        }
}

void programFiles(RomFiles& set, const Bytes& rom, const std::vector<std::pair<const char*, std::size_t>>& files)
{
    std::vector<std::size_t> sizes;
    for (const auto& f : files)
        sizes.push_back(f.second);
    const std::vector<Bytes> pieces = splitImage(rom, sizes);
    for (std::size_t i = 0; i < files.size(); ++i)
        set[files[i].first] = pieces[i];
}

// The shared colour file of the boards that take theirs from "default.clr": 32 distinct colours
// (3 bits red, 3 green, 2 blue), colour 0 black.
Bytes defaultColourFile()
{
    Bytes bytes(32);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i == 0 ? 0 : (i * 0x25 + 0x13) & 0xFF);
    return bytes;
}

void addText(std::vector<PlacedTile>& out, const std::string& text, int cellX, int cellY, int group)
{
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != ' ')
            out.push_back({cellX + int(i), cellY, static_cast<unsigned char>(text[i]), false, false, group});
}

} // namespace

int joystickTilePen(int tile, int x, int y)
{
    if (const auto* rows = extraGlyph(tile)) {
        if (x < 1 || x > 5 || y > 6)
            return 0;
        return ((*rows)[std::size_t(y)] >> (5 - x)) & 1 ? 1 + (y % 3 == 2 ? 1 : 0) : 0;
    }
    return tileArtPen(tile, x, y);
}

int joystickSpritePen(JoystickBoard board, int sprite, int x, int y)
{
    return sprite == joystickFacts(board).sheetSprite ? spriteArtPen(kSpriteCode, x, y) : 0;
}

JoystickFacts joystickFacts(JoystickBoard board)
{
    const Layout l = layoutOf(board);
    JoystickFacts f;
    f.frameCounter = l.variables;
    f.spriteX = uint16_t(l.variables + 1);
    f.spriteY = uint16_t(l.variables + 2);
    f.startX = l.startX;
    f.startY = l.startY;
    switch (board) {
    case JoystickBoard::WhizQuiz:
        f.sheetSprite = l.code, f.spriteGroup = (l.attr & 15) + 16, f.spriteFlipX = !(l.attr & 0x40);
        f.scrollX = l.steps.front().address;
        break;
    case JoystickBoard::ShaolinsRoad: f.sheetSprite = l.code + 64 * kShaolinBank, f.spriteGroup = l.attr & 7; break;
    case JoystickBoard::MegaZone:
        f.sheetSprite = l.code, f.spriteGroup = l.attr & 15, f.spriteFlipX = l.attr & 0x10;
        f.scrollX = 0x1800, f.scrollY = 0x1000;
        break;
    }
    return f;
}

std::vector<PlacedSprite> stillSprites(JoystickBoard board)
{
    if (board != JoystickBoard::ShaolinsRoad)
        return {};
    return {{40, 208, true, false, 2}, {72, 208, false, true, 4}, {104, 208, true, true, 5}};
}

std::vector<PlacedTile> joystickMapTiles(JoystickBoard board)
{
    // WhizQuiz's map rows 2-29 are screen rows 0-27; the others show the map from row 0.
    const int top = board == JoystickBoard::WhizQuiz ? 2 : 0;
    const bool flips = board != JoystickBoard::ShaolinsRoad;
    const std::string title = board == JoystickBoard::WhizQuiz       ? "WHIZ QUIZ"
                              : board == JoystickBoard::ShaolinsRoad ? "SHAOLINS ROAD"
                                                                     : "MEGA ZONE";
    std::vector<PlacedTile> out;
    addText(out, title, (32 - int(title.size())) / 2, top + 2, 1);
    addText(out, "TEST", 14, top + 4, 2);
    for (int f = 0; f < 4; ++f) {
        const bool fx = flips && (f & 1), fy = flips && (f & 2);
        out.push_back({4 + f, top + 6, kPatternTile, fx, fy, 1});
        out.push_back({10 + f, top + 6, kHighPatternTile, fx, fy, 2});
    }
    for (int g = 0; g < 16; ++g)
        out.push_back({4 + g, top + 8, kPatternTile, false, false, g});
    switch (board) {
    case JoystickBoard::WhizQuiz: // a band over the whole 64-cell width, scrolled by the program
        for (int row = kWhizQuizBandRow; row < kWhizQuizBandRow + kWhizQuizBandRows; ++row)
            for (int col = 0; col < 64; ++col) {
                const bool digits = (row - kWhizQuizBandRow) % 2 == 0;
                const int tile = digits ? '0' + col % 10 : (col % 4 == 0 ? kPatternTile : kBlankTile);
                out.push_back({col, row, tile, false, (col / 10) % 2 == 1, (col / 10) % 4});
            }
        break;
    case JoystickBoard::MegaZone: // a frame along the map's edges, where the picture wraps
        for (int i = 0; i < 32; ++i) {
            out.push_back({i, 0, '0' + i % 10, false, false, 3});
            out.push_back({i, 31, kHighPatternTile, i % 2 == 1, false, 4});
            if (i > 0 && i < 31) {
                out.push_back({0, i, kPatternTile, false, i % 2 == 1, 5});
                out.push_back({31, i, '0' + i % 10, false, false, 6});
            }
        }
        break;
    case JoystickBoard::ShaolinsRoad: break;
    }
    return out;
}

JoystickRomSets buildJoystickTestRomSets()
{
    JoystickRomSets sets;
    {
        auto& s = sets["whizquiz"];
        programFiles(s, assemble(JoystickBoard::WhizQuiz),
                     {{"01A_E01.BIN", kFileBytes},
                      {"02A_E02.BIN", kFileBytes},
                      {"03A_E03.BIN", kFileBytes},
                      {"04A_E04.BIN", kFileBytes},
                      {"ic9_a1.BIN", kFileBytes}});
        s["16h.bin"] = packedTiles(0, false), s["15h.bin"] = packedTiles(256, false);
        s["14h.bin"] = packedTiles(512, false);
        Bytes a(kFileBytes, 0), b(kFileBytes, 0);
        nibbleSprites(JoystickBoard::WhizQuiz, a, b, 0);
        s["14c.bin"] = a, s["11c.bin"] = b;
    }
    {
        auto& s = sets["shaolin"];
        programFiles(s, assemble(JoystickBoard::ShaolinsRoad),
                     {{"l03_d9.bin", kFileBytes}, {"l04_d10.bin", 2 * kFileBytes}, {"l05_d11.bin", 2 * kFileBytes}});
        Bytes a(kFileBytes, 0), b(kFileBytes, 0);
        nibbleTiles(a, b);
        s["j06_a10.bin"] = b, s["j07_a11.bin"] = a;
        Bytes sa(2 * kFileBytes, 0), sb(2 * kFileBytes, 0);
        nibbleSprites(JoystickBoard::ShaolinsRoad, sa, sb, 0);
        s["k01_h14.bin"] = sa, s["k02_h15.bin"] = sb;
    }
    {
        auto& s = sets["megazone"];
        programFiles(s, assemble(JoystickBoard::MegaZone),
                     {{"ic59_cpu.bin", kFileBytes},
                      {"ic58_cpu.bin", kFileBytes},
                      {"ic57_cpu.bin", kFileBytes},
                      {"ic56_cpu.bin", kFileBytes},
                      {"ic55_cpu.bin", kFileBytes}});
        s["ic40_vid.bin"] = packedTiles(0, true), s["ic58_vid.bin"] = packedTiles(256, true);
        Bytes a(kFileBytes, 0), b(kFileBytes, 0), c(kFileBytes, 0), d(kFileBytes, 0);
        nibbleSprites(JoystickBoard::MegaZone, a, b, 0);
        nibbleSprites(JoystickBoard::MegaZone, c, d, 128);
        s["ic14_vid.bin"] = a, s["ic15_vid.bin"] = b, s["ic04_vid.bin"] = c, s["ic05_vid.bin"] = d;
        sets[""]["default.clr"] = defaultColourFile();
    }
    return sets;
}

bool writeJoystickTestRomSets(const std::string& folder, const std::string& game, std::string& error)
{
    const JoystickRomSets sets = buildJoystickTestRomSets();
    if (!game.empty() && !sets.count(game)) {
        error = "no test ROM set for " + game;
        return false;
    }
    for (const auto& [name, files] : sets) {
        // The colour file goes with the MegaZone set.
        const bool wanted = game.empty() || game == name || (name.empty() && game == "megazone");
        if (wanted && !writeRomFiles(folder, name, files, error))
            return false;
    }
    return true;
}

} // namespace vortastr::testrom
