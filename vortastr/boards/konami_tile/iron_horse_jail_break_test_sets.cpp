#include "boards/konami_tile/iron_horse_jail_break_test_sets.h"

#include "boards/konami_tile/tile_graphics_encode.h"
#include "boards/konami_tile/tile_test_sets.h"
#include "testrom/m6809_emitter.h"
#include "testrom/m6809_opcodes.h"

#include <array>

namespace vortastr::testrom {
namespace {

using Board = HorseBreakBoard;

using namespace m6809;

constexpr uint8_t kRegisterA = 0x02; // PSHS/PULS post byte
constexpr uint8_t kClearI = 0xEF;    // ANDCC masks
constexpr uint8_t kClearF = 0xBF;

constexpr int kHighSprite = 256 + kSpriteCode; // sheet sprite drawn: the code's high bit is used
constexpr int kBankedTiles = 1024;             // Iron Horse draws from tile bank 1
constexpr int kBankZeroPen = 5;                // every tile of bank 0 is solid, so a lost bank shows

// Everything that differs between the two programs.
struct Layout {
    Board kind;
    uint16_t romStart;
    uint16_t image, imageSize; // colour RAM and video RAM, filled from the ROM
    uint16_t codeDistance;     // video RAM byte of a cell = colour RAM byte + this
    int mapColumns;
    uint16_t interruptEnable, system, joystick1, dipA, dipB;
    uint16_t sprites, otherSprites; // otherSprites: Iron Horse's RAM that is not shown
    uint16_t scroll;
    uint8_t scrollFill; // every row's scroll value at start
    uint16_t variables; // frame counter, x, y, scroll, last input
    uint8_t attr;
};

Layout layoutOf(Board kind)
{
    if (kind == Board::IronHorse)
        return {.kind = kind,
                .romStart = 0x4000,
                .image = 0x2000,
                .imageSize = 0x0800,
                .codeDistance = 0x0400,
                .mapColumns = 32,
                .interruptEnable = 0x0004,
                .system = 0x0010,
                .joystick1 = 0x0011,
                .dipA = 0x0018,
                .dipB = 0x0019,
                .sprites = 0x3000,
                .otherSprites = 0x3800,
                .scroll = 0x0020,
                .scrollFill = 0xFF,
                .variables = 0x1000,
                .attr = 0x23}; // group 3, X flip
    return {.kind = kind,
            .romStart = 0x8000,
            .image = 0x0000,
            .imageSize = 0x1000,
            .codeDistance = 0x0800,
            .mapColumns = 64,
            .interruptEnable = 0x3000,
            .system = 0x3300,
            .joystick1 = 0x3301,
            .dipA = 0x3303,
            .dipB = 0x3200,
            .sprites = 0x1000,
            .otherSprites = 0,
            .scroll = 0x2000,
            .scrollFill = 0x00,
            .variables = 0x1800,
            .attr = 0x53}; // group 3, X flip, code + 256
}

constexpr int kBandFirstRow = 20, kBandRows = 4;
constexpr uint8_t kStartX = 100, kStartY = 120;

uint16_t frameVariable(const Layout& l) { return l.variables; }
uint16_t xVariable(const Layout& l) { return uint16_t(l.variables + 1); }
uint16_t yVariable(const Layout& l) { return uint16_t(l.variables + 2); }
uint16_t scrollVariable(const Layout& l) { return uint16_t(l.variables + 3); }
uint16_t inputVariable(const Layout& l) { return uint16_t(l.variables + 4); }

// Sprite entry byte offsets: Iron Horse 0 code, 1 code high, 2 y, 3 x, 4 attr; Jail Break
// 0 code, 1 attr, 2 x, 3 y.
struct EntryBytes {
    int code, x, y, attr;
};
EntryBytes entryOf(Board kind) { return kind == Board::IronHorse ? EntryBytes{0, 3, 2, 4} : EntryBytes{0, 2, 3, 1}; }

std::string titleOf(Board kind) { return kind == Board::IronHorse ? "IRON HORSE" : "JAIL BREAK"; }

void addText(std::vector<PlacedTile>& out, const std::string& text, int row, int group)
{
    const int first = (32 - int(text.size())) / 2;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != ' ')
            out.push_back({first + int(i), row, static_cast<unsigned char>(text[i]), false, false, group});
}

// The cell's two bytes, as offsets into the program's video image.
struct Cell {
    std::size_t attrOffset, codeOffset;
    uint8_t attr, code;
};
Cell cellOf(const Layout& l, int mapX, int mapY, const PlacedTile& t)
{
    const std::size_t at = std::size_t(mapY * l.mapColumns + mapX);
    int m = t.group & 15;
    if (l.kind == Board::IronHorse) // tile bit 8 in bit 6; the Y flip (bit 5) also adds 512
        m |= ((t.tile >> 8) & 1) << 6 | (t.flipY ? 0x20 : 0);
    else
        m |= ((t.tile >> 8) & 3) << 6 | (t.flipX ? 0x10 : 0) | (t.flipY ? 0x20 : 0);
    return {at, at + l.codeDistance, static_cast<uint8_t>(m), static_cast<uint8_t>(t.tile & 0xFF)};
}

std::vector<uint8_t> videoImage(const Layout& l)
{
    std::vector<uint8_t> image(l.imageSize, 0);
    auto put = [&](int x, int y, const PlacedTile& t) {
        const Cell c = cellOf(l, x, y, t);
        if (c.codeOffset < image.size()) {
            image[c.attrOffset] = c.attr;
            image[c.codeOffset] = c.code;
        }
    };
    for (const PlacedTile& t : horseBreakFixedTiles(l.kind))
        put(t.cellX, t.cellY, t);
    for (const PlacedTile& t : horseBreakBandTiles(l.kind))
        put(t.cellX, t.cellY, t);
    return image;
}

void store(Emitter& a, uint8_t value, uint16_t address)
{
    a.op(LDA_IMM), a.byte(value);
    a.op(STA_EXT), a.word(address);
}

// Fills `count` bytes from `first` with the value in A.
void fill(Emitter& a, uint16_t first, int count, const std::string& loop)
{
    a.op(LDX_IMM), a.word(first);
    a.op(LDB_IMM), a.byte(static_cast<uint8_t>(count));
    a.label(loop);
    a.op(STA_IDX), a.byte(kPostIncrement1);
    a.op(DECB);
    a.branch(BNE, loop);
}

void spriteEntry(Emitter& a, const Layout& l, uint16_t base, uint8_t x, uint8_t y, uint8_t attr)
{
    const EntryBytes e = entryOf(l.kind);
    store(a, uint8_t(kHighSprite & 0xFF), uint16_t(base + e.code));
    if (l.kind == Board::IronHorse)
        store(a, 1, uint16_t(base + 1)); // the code's bit 8
    store(a, attr, uint16_t(base + e.attr));
    store(a, x, uint16_t(base + e.x));
    store(a, y, uint16_t(base + e.y));
}

void program(Emitter& a, const Layout& l)
{
    const bool horse = l.kind == Board::IronHorse;
    const HorseBreakFacts facts = horseBreakFacts(l.kind);
    a.org(l.romStart);
    a.label("reset");
    a.op(PREFIX10, LDS_IMM), a.word(uint16_t(l.variables + 0x0F00));
    a.op(CLRA);
    a.op(STA_EXT), a.word(l.interruptEnable);
    // Sprite RAM empty (the fill counts 256 in B = 0), video RAM from the image.
    a.op(CLRA);
    fill(a, l.sprites, 0, "clearSprites");
    if (l.otherSprites)
        fill(a, l.otherSprites, 0, "clearOther");
    a.op(LDX_IMM), a.word("image");
    a.op(PREFIX10, LDY_IMM), a.word(l.image);
    a.label("copy");
    a.op(LDD_IDX), a.byte(kPostIncrement2);
    a.op(STD_IDX), a.byte(kPostIncrementY2);
    a.op(PREFIX10, CMPY_IMM), a.word(uint16_t(l.image + l.imageSize));
    a.branch(BNE, "copy");
    a.op(LDA_IMM), a.byte(l.scrollFill);
    fill(a, l.scroll, horse ? 32 : 64, "clearScroll");
    // The dip switches are read once, as a game does at start.
    a.op(LDA_EXT), a.word(l.dipA);
    a.op(STA_EXT), a.word(inputVariable(l));
    a.op(LDA_EXT), a.word(l.dipB);
    a.op(STA_EXT), a.word(inputVariable(l));
    if (horse) { // tile bank 1, sprites from 0x3000; a decoy in the RAM that is not shown
        store(a, 0x09, 0x0003);
        spriteEntry(a, l, l.otherSprites, uint8_t(facts.decoyX), uint8_t(facts.decoyY), 0x01);
    }
    spriteEntry(a, l, l.sprites, kStartX, kStartY, l.attr);
    store(a, kStartX, xVariable(l));
    store(a, kStartY, yVariable(l));
    store(a, 1, l.interruptEnable);
    a.op(ANDCC), a.byte(horse ? kClearF : kClearI);

    a.label("main");
    a.op(LDA_EXT), a.word(frameVariable(l));
    a.label("wait");
    a.op(CMPA_EXT), a.word(frameVariable(l));
    a.branch(BEQ, "wait");
    a.op(LDA_EXT), a.word(l.system);
    a.op(LDA_EXT), a.word(l.joystick1);
    a.op(STA_EXT), a.word(inputVariable(l));
    // Joystick bits (active low): 0 left, 1 right, 2 up, 3 down.
    const struct {
        uint8_t mask;
        bool increment, horizontal;
    } moves[] = {{0x02, true, true}, {0x01, false, true}, {0x08, true, false}, {0x04, false, false}};
    for (std::size_t i = 0; i < std::size(moves); ++i) {
        const std::string skip = "skip" + std::to_string(i);
        a.op(LDA_EXT), a.word(inputVariable(l));
        a.op(BITA_IMM), a.byte(moves[i].mask);
        a.branch(BNE, skip);
        a.op(moves[i].increment ? INC_EXT : DEC_EXT), a.word(moves[i].horizontal ? xVariable(l) : yVariable(l));
        a.label(skip);
    }
    a.op(LDA_EXT), a.word(xVariable(l));
    a.op(STA_EXT), a.word(facts.spriteX);
    a.op(LDA_EXT), a.word(yVariable(l));
    a.op(STA_EXT), a.word(facts.spriteY);
    a.op(INC_EXT), a.word(scrollVariable(l));
    a.op(LDA_EXT), a.word(scrollVariable(l));
    fill(a, uint16_t(l.scroll + kBandFirstRow), kBandRows, "scroll");
    a.branch(BRA, "main");

    // The interrupt, acknowledged by turning the enable off and on again. The FIRQ saves only
    // PC and CC, so its routine keeps A itself.
    a.label("interrupt");
    if (horse)
        a.op(PSHS), a.byte(kRegisterA);
    a.op(CLRA);
    a.op(STA_EXT), a.word(l.interruptEnable);
    store(a, 1, l.interruptEnable);
    a.op(INC_EXT), a.word(frameVariable(l));
    if (horse)
        a.op(PULS), a.byte(kRegisterA);
    a.op(RTI);
    a.label("spurious");
    a.op(RTI);

    a.label("image");
    a.data(videoImage(l));

    a.org(0xFFF2); // SWI3, SWI2, FIRQ, IRQ, SWI, NMI, reset
    for (const char* v : {"spurious", "spurious", horse ? "interrupt" : "spurious", horse ? "spurious" : "interrupt",
                          "spurious", "spurious", "reset"})
        a.word(v);
}

Bytes assemble(Board kind)
{
    const Layout l = layoutOf(kind);
    Emitter a(l.romStart, std::size_t(0x10000 - l.romStart),
              kind == Board::JailBreak ? OpcodeEncryption(konamiOpcodeEncryption) : OpcodeEncryption{});
    program(a, l);
    return a.finish();
}

// What the sheets hold: Iron Horse's bank 1 repeats the art in both halves (the Y flip adds 512
// to the tile number), bank 0 is solid; Jail Break's tiles are the art. Sprites 256 on are the
// art's sprites, those below are empty.
int horseTilePen(int tile, int x, int y)
{
    return tile >= kBankedTiles ? tileArtPen((tile - kBankedTiles) & 511, x, y) : kBankZeroPen;
}
int spritePen(int sprite, int x, int y) { return sprite >= 256 ? spriteArtPen(sprite - 256, x, y) : 0; }

// Iron Horse characters: 2048 tiles of 16 bytes a file, bytes 0-7 the left half's rows and
// 8-15 the right half's; A is the second file. Sprites: 512 of 64 bytes a file, bytes 0-31
// rows 0-7 and 32-63 rows 8-15, every eight bytes four columns on; A is the first file.
std::array<Bytes, 2> horseCharacters()
{
    std::array<Bytes, 2> files{Bytes(0x8000, 0), Bytes(0x8000, 0)};
    for (int t = 0; t < 2048; ++t)
        for (int k = 0; k < 16; ++k)
            for (int j = 0; j < 4; ++j) {
                const std::size_t i = std::size_t(16 * t + k);
                putNibblePair(files[1][i], files[0][i], j, horseTilePen(t, (k / 8) * 4 + j, k % 8));
            }
    return files;
}

std::array<Bytes, 2> horseSprites()
{
    std::array<Bytes, 2> files{Bytes(0x8000, 0), Bytes(0x8000, 0)};
    for (int s = 0; s < 512; ++s)
        for (int k = 0; k < 64; ++k)
            for (int j = 0; j < 4; ++j) {
                const std::size_t i = std::size_t(64 * s + k);
                putNibblePair(files[0][i], files[1][i], j, spritePen(s, ((k % 32) / 8) * 4 + j, (k / 32) * 8 + k % 8));
            }
    return files;
}

// Jail Break: packed nibbles, high nibble the left pixel; a character file holds 512 tiles of 32
// bytes, a sprite file 128 sprites of 128 bytes.
Bytes breakCharacters(int file)
{
    Bytes bytes(0x4000, 0);
    for (int t = 0; t < 512; ++t)
        for (int b = 0; b < 32; ++b) {
            const int tile = 512 * file + t, x = (b % 4) * 2, y = b / 4;
            bytes[std::size_t(32 * t + b)] =
                static_cast<uint8_t>(tileArtPen(tile, x, y) << 4 | tileArtPen(tile, x + 1, y));
        }
    return bytes;
}

Bytes breakSprites(int file)
{
    Bytes bytes(0x4000, 0);
    for (int s = 0; s < 128; ++s)
        for (int b = 0; b < 128; ++b) {
            const int sprite = 128 * file + s, x = (b % 8) * 2, y = b / 8;
            bytes[std::size_t(128 * s + b)] =
                static_cast<uint8_t>(spritePen(sprite, x, y) << 4 | spritePen(sprite, x + 1, y));
        }
    return bytes;
}

} // namespace

HorseBreakFacts horseBreakFacts(HorseBreakBoard kind)
{
    const Layout l = layoutOf(kind);
    const EntryBytes e = entryOf(kind);
    HorseBreakFacts f;
    f.spriteX = uint16_t(l.sprites + e.x);
    f.spriteY = uint16_t(l.sprites + e.y);
    f.frameCounter = frameVariable(l);
    f.scroll = scrollVariable(l);
    f.startX = kStartX, f.startY = kStartY;
    f.spriteAttr = l.attr;
    f.spriteFlipX = kind == Board::IronHorse ? (l.attr & 0x20) : (l.attr & 0x10);
    f.spriteFlipY = kind == Board::IronHorse ? (l.attr & 0x40) : (l.attr & 0x20);
    if (kind == Board::IronHorse) // over the title, where a wrongly chosen sprite RAM would show
        f.decoyX = 8 * ((32 - int(titleOf(kind).size())) / 2), f.decoyY = 17;
    f.bandFirstRow = kBandFirstRow, f.bandRows = kBandRows;
    f.mapWidth = 8 * l.mapColumns;
    return f;
}

std::vector<PlacedTile> horseBreakFixedTiles(HorseBreakBoard kind)
{
    std::vector<PlacedTile> out;
    addText(out, titleOf(kind), 2, 1);
    addText(out, "TEST", 4, 2);
    // Both patterns in every flip the board has (Iron Horse: Y only), then the first pattern
    // in every colour group.
    const bool flipX = kind == Board::JailBreak;
    for (int f = 0; f < 4; ++f) {
        out.push_back({4 + f, 6, kPatternTile, flipX && (f & 1), (f & 2) != 0, 1});
        out.push_back({10 + f, 6, kHighPatternTile, flipX && (f & 1), (f & 2) != 0, 2});
    }
    for (int g = 0; g < 16; ++g)
        out.push_back({4 + g, 8, kPatternTile, false, false, g});
    return out;
}

std::vector<PlacedTile> horseBreakBandTiles(HorseBreakBoard kind)
{
    std::vector<PlacedTile> out;
    const int columns = layoutOf(kind).mapColumns;
    for (int row = kBandFirstRow; row < kBandFirstRow + kBandRows; ++row)
        for (int col = 0; col < columns; ++col) {
            const bool digit = (row - kBandFirstRow) % 2 == 0;
            const int tile = digit ? '0' + col % 10 : (col % 4 == 0 ? kPatternTile : kBlankTile);
            out.push_back({col, row, tile, false, (col / 10) % 2 == 1, (col / 10) % 4});
        }
    return out;
}

std::vector<uint8_t> horseColourFile()
{
    // The same bytes the MegaZone set writes into the shared file: 32 distinct colours, 0 black.
    std::vector<uint8_t> bytes(32);
    for (std::size_t i = 1; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>((i * 0x25 + 0x13) & 0xFF);
    return bytes;
}

RomSets buildHorseBreakTestRomSets()
{
    RomSets sets;
    {
        RomFiles& s = sets["ironhrse"];
        const std::vector<Bytes> program = splitImage(assemble(Board::IronHorse), {0x8000, 0x4000});
        s["13c_h03.bin"] = program[0], s["12c_h02.bin"] = program[1];
        const auto chars = horseCharacters();
        s["09f_h07.bin"] = chars[0], s["06f_h04.bin"] = chars[1];
        const auto sprites = horseSprites();
        s["08f_h06.bin"] = sprites[0], s["07f_h05.bin"] = sprites[1];
    }
    {
        RomFiles& s = sets["jailbrk"];
        const std::vector<Bytes> program = splitImage(assemble(Board::JailBreak), {0x4000, 0x4000});
        s["jailbrk.p03"] = program[0], s["jailbrk.p02"] = program[1];
        s["jailbrk.l08"] = breakCharacters(0), s["jailbrk.j09"] = breakCharacters(1);
        const char* names[] = {"jailbrk.j04", "jailbrk.j05", "jailbrk.j06", "jailbrk.j07"};
        for (int i = 0; i < 4; ++i)
            s[names[i]] = breakSprites(i);
    }
    return sets;
}

bool writeHorseBreakTestRomSets(const std::string& folder, const std::string& set, std::string& error)
{
    if (!writeRomSets(folder, set, buildHorseBreakTestRomSets(), error))
        return false;
    // Iron Horse takes its colours from the shared colour PROM file beside the game folders.
    if (set.empty() || set == "ironhrse")
        return writeRomFiles(folder, "", {{"default.clr", horseColourFile()}}, error);
    return true;
}

} // namespace vortastr::testrom
