#include "boards/konami_tile/tile_test_sets.h"

#include "boards/konami_tile/tile_graphics_encode.h"
#include "testrom/m6809_emitter.h"
#include "testrom/m6809_opcodes.h"
#include "testrom/rom_packing.h"

namespace vortastr::testrom {

// These boards fetch opcodes through the Konami decryption: the opcode at address a is the ROM
// byte XOR m(a), m(a) = (0x80 if bit 1 of a, else 0x20) OR (0x08 if bit 3 of a, else 0x02);
// XOR is its own inverse.
uint8_t konamiOpcodeEncryption(uint16_t address, uint8_t opcode)
{
    const uint8_t mask = static_cast<uint8_t>(((address & 2) ? 0x80 : 0x20) | ((address & 8) ? 0x08 : 0x02));
    return static_cast<uint8_t>(opcode ^ mask);
}

namespace {

using namespace m6809;

// One direction of the sprite: while `mask` reads 0 in the port, step `variable` by one.
struct Move {
    uint8_t mask;
    bool increment;
    bool horizontal;
};

// Everything that differs between the boards' programs.
struct Board {
    TileBoard kind;
    uint16_t romStart;
    uint16_t imageAddress; // where the program's tile RAM image goes, and its size
    uint16_t imageSize;
    uint16_t interruptEnable;
    bool vectorRegisters; // Rock'n'Rope: the IRQ vector is written at run time
    uint16_t stackTop;
    uint16_t variables; // frame counter, x, y, scroll, last input
    uint16_t port;      // the port the sprite follows
    uint16_t systemPort;
    uint16_t dipPort;
    std::vector<Move> moves;
    // Sprite entry: addresses of its bytes.
    uint16_t spriteX, spriteY, spriteCode, spriteAttr;
    uint8_t attr;
    uint8_t startX, startY;
    // Scroll: first address, bytes between rows, rows (0: none).
    uint16_t scrollFirst;
    uint8_t scrollStep;
    uint8_t scrollRows;
    uint16_t spriteBankRegister; // Circus Charlie: selects the sprite RAM half (0: none)
};

Board boardOf(TileBoard kind)
{
    switch (kind) {
    case TileBoard::TrackField:
        // Run buttons: bit 0 (run, Right) right, bit 2 (Left, Ctrl) left, bit 1 (Up, Down,
        // Shift) down the screen.
        return {kind,   0x6000, 0x3000, 0x1000,
                0x1087, false,  0x0F00, 0x0800,
                0x1281, 0x1280, 0x1283, {{0x01, true, true}, {0x04, false, true}, {0x02, false, false}},
                0x1C00, 0x1801, 0x1C01, 0x1800,
                0x43,   100,    120,    0x1840 + 20,
                1,      4,      0};
    case TileBoard::HyperSports:
        return {kind,   0x4000, 0x2000, 0x1000,
                0x1487, false,  0x3F00, 0x3800,
                0x1681, 0x1680, 0x1683, {{0x01, true, true}, {0x04, false, true}, {0x02, false, false}},
                0x1003, 0x1001, 0x1002, 0x1000,
                0x43,   100,    120,    0x36C0 + 40,
                2,      4,      0};
    case TileBoard::RockNRope:
        return {kind,   0x6000, 0x4800,
                0x0800, 0x8087, true,
                0x5F00, 0x5000, 0x3081,
                0x3080, 0x3083, {{0x02, true, true}, {0x01, false, true}, {0x08, true, false}, {0x04, false, false}},
                0x4001, 0x4400, 0x4401,
                0x4000, 0x43,   100,
                120,    0,      0,
                0,      0};
    case TileBoard::CircusCharlie:
        return {kind,   0x6000, 0x3000,
                0x0800, 0x0001, false,
                0x2F00, 0x2000, 0x1001,
                0x1000, 0x1400, {{0x02, false, true}, {0x01, true, true}, {0x08, true, false}, {0x04, false, false}},
                0x3803, 0x3802, 0x3800,
                0x3801, 0x03,   100,
                150,    0x1C00, 0,
                1,      0x0005};
    }
    return {};
}

uint16_t frameVariable(const Board& b) { return b.variables; }
uint16_t xVariable(const Board& b) { return uint16_t(b.variables + 1); }
uint16_t yVariable(const Board& b) { return uint16_t(b.variables + 2); }
uint16_t scrollVariable(const Board& b) { return uint16_t(b.variables + 3); }
uint16_t inputVariable(const Board& b) { return uint16_t(b.variables + 4); }

void storeImmediate(Emitter& a, uint8_t value, uint16_t address)
{
    a.op(LDA_IMM), a.byte(value);
    a.op(STA_EXT), a.word(address);
}

// The tile RAM image: the fixed picture and the band, cell by cell.
std::vector<uint8_t> tileRamImage(const Board& b)
{
    std::vector<uint8_t> image(b.imageSize, 0);
    auto put = [&](const CellBytes& c) {
        if (c.codeOffset < image.size() && c.attrOffset < image.size()) {
            image[c.codeOffset] = c.code;
            image[c.attrOffset] = c.attr;
        }
    };
    for (const PlacedTile& t : fixedTiles(b.kind))
        put(screenCellBytes(b.kind, t));
    for (const PlacedTile& t : bandTiles(b.kind))
        put(mapCellBytes(b.kind, t));
    return image;
}

// The default table, written from its third byte on, then the shown copy of the top score, then
// the top score's first two bytes: the last byte written completes both places the installer
// of a saved table checks.
void writeDefaultHighScores(Emitter& a)
{
    const std::vector<uint8_t> table = rockNRopeDefaultHighScoreTable();
    a.op(LDX_IMM), a.word("scoresFromThirdByte");
    a.op(PREFIX10, LDY_IMM), a.word(uint16_t(kRockNRopeScoreTable + 2));
    a.label("copyScores");
    a.op(LDD_IDX), a.byte(kPostIncrement2);
    a.op(STD_IDX), a.byte(kPostIncrementY2);
    a.op(PREFIX10, CMPY_IMM), a.word(uint16_t(kRockNRopeScoreTable + table.size()));
    a.branch(BNE, "copyScores");
    for (uint16_t i = 0; i < 3; ++i)
        storeImmediate(a, table[i], uint16_t(kRockNRopeShownTopScore + i));
    storeImmediate(a, table[1], uint16_t(kRockNRopeScoreTable + 1));
    storeImmediate(a, table[0], kRockNRopeScoreTable);
}

void program(Emitter& a, const Board& b)
{
    a.org(b.romStart);
    a.label("reset");
    a.op(PREFIX10, LDS_IMM), a.word(b.stackTop);
    a.op(CLRA);
    a.op(STA_EXT), a.word(b.interruptEnable);
    if (b.vectorRegisters) { // the interrupt routine's address into the vector registers
        a.op(LDD_IMM), a.word("irq");
        a.op(STA_EXT), a.word(0x8188);
        a.op(STB_EXT), a.word(0x8189);
    }
    // Tile RAM: the whole image, two bytes at a time.
    a.op(LDX_IMM), a.word("image");
    a.op(PREFIX10, LDY_IMM), a.word(b.imageAddress);
    a.label("copy");
    a.op(LDD_IDX), a.byte(kPostIncrement2);
    a.op(STD_IDX), a.byte(kPostIncrementY2);
    a.op(PREFIX10, CMPY_IMM), a.word(uint16_t(b.imageAddress + b.imageSize));
    a.branch(BNE, "copy");
    // The dip switches are read once, as a game does at start.
    a.op(LDA_EXT), a.word(b.dipPort);
    a.op(STA_EXT), a.word(inputVariable(b));
    if (b.kind == TileBoard::RockNRope)
        writeDefaultHighScores(a);
    storeImmediate(a, b.startX, xVariable(b));
    storeImmediate(a, b.startY, yVariable(b));
    storeImmediate(a, uint8_t(kSpriteCode), b.spriteCode);
    storeImmediate(a, b.attr, b.spriteAttr);
    if (b.spriteBankRegister)
        storeImmediate(a, 1, b.spriteBankRegister);
    storeImmediate(a, 1, b.interruptEnable);
    a.op(ANDCC), a.byte(0xEF); // IRQs on

    a.label("main");
    a.op(LDA_EXT), a.word(frameVariable(b));
    a.label("wait");
    a.op(CMPA_EXT), a.word(frameVariable(b));
    a.branch(BEQ, "wait");
    a.op(LDA_EXT), a.word(b.systemPort);
    a.op(LDA_EXT), a.word(b.port);
    a.op(STA_EXT), a.word(inputVariable(b));
    for (std::size_t i = 0; i < b.moves.size(); ++i) {
        const Move& m = b.moves[i];
        const std::string skip = "skip" + std::to_string(i);
        a.op(LDA_EXT), a.word(inputVariable(b));
        a.op(BITA_IMM), a.byte(m.mask);
        a.branch(BNE, skip);
        a.op(m.increment ? INC_EXT : DEC_EXT), a.word(m.horizontal ? xVariable(b) : yVariable(b));
        a.label(skip);
    }
    a.op(LDA_EXT), a.word(xVariable(b));
    a.op(STA_EXT), a.word(b.spriteX);
    a.op(LDA_EXT), a.word(yVariable(b));
    a.op(STA_EXT), a.word(b.spriteY);
    if (b.scrollRows) {
        a.op(INC_EXT), a.word(scrollVariable(b));
        a.op(LDA_EXT), a.word(scrollVariable(b));
        a.op(LDX_IMM), a.word(b.scrollFirst);
        a.op(LDB_IMM), a.byte(b.scrollRows);
        a.label("scroll");
        a.op(STA_IDX), a.byte(b.scrollStep == 2 ? kPostIncrement2 : kPostIncrement1);
        a.op(DECB);
        a.branch(BNE, "scroll");
    }
    a.branch(BRA, "main");

    // The interrupt: acknowledged by turning the enable off and on again.
    a.label("irq");
    a.op(CLRA);
    a.op(STA_EXT), a.word(b.interruptEnable);
    storeImmediate(a, 1, b.interruptEnable);
    a.op(INC_EXT), a.word(frameVariable(b));
    a.op(RTI);
    // Where the ROM's own vector points on Rock'n'Rope: acknowledges, counts nothing.
    a.label("romIrq");
    a.op(CLRA);
    a.op(STA_EXT), a.word(b.interruptEnable);
    storeImmediate(a, 1, b.interruptEnable);
    a.op(RTI);

    a.label("image");
    a.data(tileRamImage(b));
    if (b.kind == TileBoard::RockNRope) {
        const std::vector<uint8_t> table = rockNRopeDefaultHighScoreTable();
        a.label("scoresFromThirdByte");
        a.data(std::vector<uint8_t>(table.begin() + 2, table.end()));
    }

    a.org(0xFFF8);
    a.word(b.vectorRegisters ? "romIrq" : "irq");
    a.org(0xFFFE);
    a.word("reset");
}

std::vector<uint8_t> assemble(const Board& b)
{
    Emitter a(b.romStart, std::size_t(0x10000 - b.romStart), konamiOpcodeEncryption);
    program(a, b);
    return a.finish();
}

// The program image cut into the board's 8 KB program ROMs, in order.
void programFiles(RomFiles& set, const Bytes& rom, std::initializer_list<const char*> names)
{
    const std::vector<Bytes> pieces = splitImage(rom, std::vector<std::size_t>(names.size(), 0x2000));
    std::size_t i = 0;
    for (const char* name : names)
        set[name] = pieces[i++];
}

} // namespace

std::vector<uint8_t> rockNRopeDefaultHighScoreTable()
{
    struct Entry {
        uint32_t score; // BCD digits written as a number
        const char* initials;
        uint8_t stage;
    };
    const Entry entries[] = {{0x010000, "TOP", 4}, {0x009000, "ROP", 4}, {0x008000, "KNT", 3}, {0x007000, "EGG", 3},
                             {0x006000, "DNO", 2}, {0x005000, "LDR", 2}, {0x004000, "HKS", 1}, {0x003000, "NET", 1}};
    std::vector<uint8_t> table;
    for (const Entry& e : entries) {
        table.push_back(uint8_t(e.score >> 16)), table.push_back(uint8_t(e.score >> 8)),
            table.push_back(uint8_t(e.score));
        table.insert(table.end(), e.initials, e.initials + 3);
        table.push_back(e.stage), table.push_back(0);
    }
    return table;
}

TileProgramFacts tileProgramFacts(TileBoard kind)
{
    const Board b = boardOf(kind);
    return {xVariable(b), yVariable(b), frameVariable(b), b.scrollRows ? scrollVariable(b) : uint16_t(0), b.startX,
            b.startY,     b.attr};
}

RomSetFiles buildTileTestRomSets()
{
    RomSetFiles sets;
    {
        auto& s = sets["trackfld"];
        programFiles(s, assemble(boardOf(TileBoard::TrackField)),
                     {"A01_E01.BIN", "A02_E02.BIN", "A03_K03.BIN", "A04_E04.BIN", "A05_E05.BIN"});
        const auto chars = encodeCharacters(TileBoard::TrackField);
        s["h16_e12.bin"] = chars[0], s["h15_e11.bin"] = chars[1], s["h14_e10.bin"] = chars[2];
        const auto sprites = encodeSprites(TileBoard::TrackField);
        s["c13_d08.bin"] = sprites[0], s["c11_d06.bin"] = sprites[1];
        s["c14_d09.bin"] = sprites[2], s["c12_d07.bin"] = sprites[3];
    }
    {
        auto& s = sets["hyperspt"];
        programFiles(s, assemble(boardOf(TileBoard::HyperSports)), {"c01", "c02", "c03", "c04", "c05", "c06"});
        const auto chars = encodeCharacters(TileBoard::HyperSports);
        s["c26"] = chars[0], s["c22"] = chars[1], s["c24"] = chars[2], s["c20"] = chars[3];
        const auto sprites = encodeSprites(TileBoard::HyperSports);
        const char* names[] = {"c14", "c18", "c13", "c17", "c12", "c16", "c11", "c15"};
        for (std::size_t i = 0; i < 8; ++i)
            s[names[i]] = sprites[i];
    }
    const auto rockChars = encodeCharacters(TileBoard::RockNRope);
    const auto rockSprites = encodeSprites(TileBoard::RockNRope);
    const auto rockProgram = assemble(boardOf(TileBoard::RockNRope));
    {
        auto& s = sets["rocnrope"];
        programFiles(s, rockProgram, {"rnr_h1.vid", "rnr_h2.vid", "rnr_h3.vid", "rnr_h4.vid", "rnr_h5.vid"});
        s["rnr_h12.vid"] = rockChars[0], s["rnr_h11.vid"] = rockChars[1];
        s["rnr_a11.vid"] = rockSprites[0], s["rnr_a9.vid"] = rockSprites[1];
        s["rnr_a12.vid"] = rockSprites[2], s["rnr_a10.vid"] = rockSprites[3];
    }
    {
        auto& s = sets["ropeman"];
        programFiles(s, rockProgram, {"j01_rm01.bin", "j02_rm02.bin", "j03_rm03.bin", "j04_rm04.bin", "j05_rm05.bin"});
        s["j11_rm06.bin"] = rockChars[0], s["j12_rm07.bin"] = rockChars[1];
        s["a09_rm08.bin"] = rockSprites[0], s["a11_rm10.bin"] = rockSprites[1];
        s["a10_rm09.bin"] = rockSprites[2], s["a12_rm11.bin"] = rockSprites[3];
    }
    const auto circusChars = encodeCharacters(TileBoard::CircusCharlie);
    const auto circusSprites = encodeSprites(TileBoard::CircusCharlie);
    const auto circusProgram = assemble(boardOf(TileBoard::CircusCharlie));
    {
        auto& s = sets["circusch"];
        programFiles(s, circusProgram, {"h03_r05.bin", "h04_n04.bin", "h05_n03.bin", "h06_n02.bin", "h07_n01.bin"});
        s["a04_j12.bin"] = circusChars[0], s["a05_k13.bin"] = circusChars[1];
        const char* names[] = {"e11_j06.bin", "e12_j07.bin", "e13_j08.bin",
                               "e14_j09.bin", "e15_j10.bin", "e16_j11.bin"};
        for (std::size_t i = 0; i < 6; ++i)
            s[names[i]] = circusSprites[i];
    }
    {
        auto& s = sets["circusc2"];
        programFiles(s, circusProgram, {"s05", "q04", "q03", "q02", "q01"});
        s["j12"] = circusChars[0], s["k13"] = circusChars[1];
        const char* names[] = {"j06", "j07", "j08", "j09", "j10", "j11"};
        for (std::size_t i = 0; i < 6; ++i)
            s[names[i]] = circusSprites[i];
    }
    return sets;
}

bool writeTileTestRomSets(const std::string& folder, const std::string& game, std::string& error)
{
    return writeRomSets(folder, game, buildTileTestRomSets(), error);
}

} // namespace vortastr::testrom
