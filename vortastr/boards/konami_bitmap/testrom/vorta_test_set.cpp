#include "boards/konami_bitmap/testrom/vorta_test_set.h"

#include "testrom/m6809_emitter.h"
#include "testrom/rom_packing.h"

#include <array>
#include <cstdlib>

namespace vortastr::testrom {
namespace {

// RAM of the program (0x8800-0x8FFF is plain RAM on the board).
constexpr uint16_t kFrame = 0x8800;
constexpr uint16_t kLastFrame = 0x8803;
constexpr uint16_t kCount = 0x8805;
constexpr uint16_t kStackTop = 0x8FF0;

constexpr uint16_t kInterruptEnable = 0x8030;
constexpr uint16_t kSoundCommand = 0x8050;
constexpr uint16_t kBankSelect = 0x8060;
constexpr uint16_t kBlitter = 0x8070;
constexpr uint16_t kPlayer1 = 0x8024;
constexpr uint16_t kObjectPaletteEntry = 0x8003;

// The board fetches opcodes through a decryption: the opcode at address a is the ROM byte XOR
// m(a), m(a) = (0x80 if bit 1 of a, else 0x20) OR (0x08 if bit 3 of a, else 0x02). XOR is its
// own inverse, so the same mask encrypts.
uint8_t vortaOpcodeEncryption(uint16_t address, uint8_t opcode)
{
    const uint8_t mask = static_cast<uint8_t>(((address & 2) ? 0x80 : 0x20) | ((address & 8) ? 0x08 : 0x02));
    return static_cast<uint8_t>(opcode ^ mask);
}

// 6809 opcodes used.
enum : uint8_t {
    LDA_IMM = 0x86,
    LDB_IMM = 0xC6,
    LDX_IMM = 0x8E,
    LDA_EXT = 0xB6,
    STA_EXT = 0xB7,
    LDB_EXT = 0xF6,
    STB_EXT = 0xF7,
    CMPA_EXT = 0xB1,
    CMPB_IMM = 0xC1,
    INC_EXT = 0x7C,
    DEC_EXT = 0x7A,
    LDD_IDX = 0xEC,
    STD_IDX = 0xED,
    STA_IDX = 0xA7,
    LEAX = 0x30,
    LEAY = 0x31,
    DECB = 0x5A,
    INCB = 0x5C,
    ADDA_IMM = 0x8B,
    ADDB_IMM = 0xCB,
    SUBB_IMM = 0xC0,
    ANDA_IMM = 0x84,
    BITA_IMM = 0x85,
    ANDCC = 0x1C,
    JSR_EXT = 0xBD,
    RTS = 0x39,
    RTI = 0x3B,
    BRA = 0x20,
    BNE = 0x26,
    BEQ = 0x27,
    BHS = 0x24,
    PREFIX10 = 0x10,
    LDS_IMM = 0xCE,
    LDY_IMM = 0x8E,
    LSRA = 0x44,
    LDA_IDX = 0xA6,
    JMP_EXT = 0x7E
};

// 5 x 7 glyphs, one byte per row, bit 4 the left pixel.
std::array<uint8_t, 7> glyph(char c)
{
    switch (c) {
    case 'V': return {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04};
    case 'O': return {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E};
    case 'R': return {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11};
    case 'T': return {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04};
    case 'A': return {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11};
    case 'E': return {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F};
    case 'S': return {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E};
    case 'M': return {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11};
    default: return {};
    }
}

// The title as the program copies it: kTitleLines bitmap lines of 8 bytes (screen rows 16 to
// 31), glyphs doubled in both directions, pen 1.
std::vector<uint8_t> titleBytes()
{
    const std::string text = "VORTA TEST ROM";
    std::vector<uint8_t> bytes(std::size_t(kTitleLines) * 8, 0);
    auto pixel = [](const std::string& t, int x, int y) {
        const int ch = x / 12, col = (x % 12) / 2, row = (y - 1) / 2;
        if (ch >= int(t.size()) || col >= 5 || y < 1 || row >= 7)
            return false;
        return ((glyph(t[std::size_t(ch)])[std::size_t(row)] >> (4 - col)) & 1) != 0;
    };
    for (int line = 0; line < kTitleLines; ++line)
        for (int j = 0; j < 8; ++j) {
            // Byte j of the block is bitmap byte 112 + j: rows 31 - 2j (low) and 30 - 2j (high).
            const int low = 31 - 2 * j - 16, high = 30 - 2 * j - 16;
            uint8_t v = 0;
            if (pixel(text, line, low))
                v |= 0x01;
            if (pixel(text, line, high))
                v |= 0x10;
            bytes[std::size_t(line) * 8 + std::size_t(j)] = v;
        }
    return bytes;
}

// The 16 x 16 object in blitter layout: 16 lines of 8 bytes, each byte stored with its
// nibbles swapped (the blitter swaps them back). A diamond of pen 3 with a pen 9 rim.
std::vector<uint8_t> objectBytes()
{
    std::vector<uint8_t> bytes(128, 0);
    auto pen = [](int x, int y) {
        const int d = std::abs(2 * x - 15) + std::abs(2 * y - 15);
        return d <= 12 ? 3 : d <= 16 ? 9 : 0;
    };
    for (int line = 0; line < 16; ++line)
        for (int k = 0; k < 8; ++k) {
            const int low = pen(line, 2 * k + 1), high = pen(line, 2 * k);
            const uint8_t drawn = static_cast<uint8_t>(high << 4 | low);
            bytes[std::size_t(line) * 8 + std::size_t(k)] = static_cast<uint8_t>((drawn >> 4) | (drawn << 4));
        }
    return bytes;
}

// Copies the default high-score table into RAM, its first entry (the marker) last, so the
// marker never stands before the rest of the table does.
void writeDefaultHighScores(Emitter& a)
{
    constexpr uint8_t LDA_IDX = 0xA6;
    constexpr uint16_t kMarkerBytes = 7;
    const uint16_t parts[2][3] = {{kMarkerBytes, kHighScoreTableBytes - kMarkerBytes, 0}, {0, kMarkerBytes, 1}};
    for (const auto& part : parts) {
        const std::string loop = part[2] ? "highScoreMarker" : "highScoreRest";
        a.op(LDX_IMM), a.word("highScores");
        a.op(LEAX), a.byte(0x89), a.word(part[0]); // LEAX n,X
        a.op(PREFIX10, LDY_IMM), a.word(uint16_t(kHighScoreTableAddress + part[0]));
        a.op(LDB_IMM), a.byte(uint8_t(part[1]));
        a.label(loop);
        a.op(LDA_IDX), a.byte(0x80); // LDA ,X+
        a.op(STA_IDX), a.byte(0xA0); // STA ,Y+
        a.op(DECB);
        a.branch(BNE, loop);
    }
}

void program(Emitter& a)
{
    a.org(0xA000);
    a.label("reset");
    a.op(PREFIX10, LDS_IMM), a.word(kStackTop);
    writeDefaultHighScores(a);
    // Title: copy 176 lines of 8 bytes into the bitmap.
    a.op(LDX_IMM), a.word("title");
    a.op(PREFIX10, LDY_IMM), a.word(uint16_t(kTitleFirstLine * 128 + kTitleFirstByte));
    a.op(LDA_IMM), a.byte(kTitleLines);
    a.op(STA_EXT), a.word(kCount);
    a.label("titleLine");
    for (int i = 0; i < 4; ++i) {
        a.op(LDD_IDX), a.byte(0x81); // LDD ,X++
        a.op(STD_IDX), a.byte(0xA1); // STD ,Y++
    }
    a.op(LEAY), a.byte(0xA8), a.byte(120); // LEAY 120,Y
    a.op(DEC_EXT), a.word(kCount);
    a.branch(BNE, "titleLine");
    // Object and bank.
    a.op(LDA_IMM), a.byte(kObjectStartX);
    a.op(STA_EXT), a.word(kObjectXAddress);
    a.op(LDA_IMM), a.byte(kObjectStartRow);
    a.op(STA_EXT), a.word(kObjectRowAddress);
    a.op(LDA_IMM), a.byte(0);
    a.op(STA_EXT), a.word(kBankAddress);
    a.op(STA_EXT), a.word(kFrame);
    a.op(STA_EXT), a.word(kLastFrame);
    a.op(JSR_EXT), a.word("selectBank");
    a.op(LDB_IMM), a.byte(1);
    a.op(JSR_EXT), a.word("blit");
    a.op(LDA_IMM), a.byte(1);
    a.op(STA_EXT), a.word(kInterruptEnable);
    a.op(ANDCC), a.byte(0xEF);

    a.label("main");
    a.op(LDA_EXT), a.word(kFrame);
    a.op(CMPA_EXT), a.word(kLastFrame);
    a.branch(BEQ, "main");
    a.op(STA_EXT), a.word(kLastFrame);
    a.op(LDB_IMM), a.byte(0);
    a.op(JSR_EXT), a.word("blit"); // erase at the old place
    a.op(LDA_EXT), a.word(kPlayer1);
    // Left (bit 0, active low): one line down to 0.
    a.op(BITA_IMM), a.byte(0x01);
    a.branch(BNE, "noLeft");
    a.op(LDB_EXT), a.word(kObjectXAddress);
    a.branch(BEQ, "noLeft");
    a.op(DECB);
    a.op(STB_EXT), a.word(kObjectXAddress);
    a.label("noLeft");
    a.op(BITA_IMM), a.byte(0x02);
    a.branch(BNE, "noRight");
    a.op(LDB_EXT), a.word(kObjectXAddress);
    a.op(CMPB_IMM), a.byte(240);
    a.branch(BHS, "noRight");
    a.op(INCB);
    a.op(STB_EXT), a.word(kObjectXAddress);
    a.label("noRight");
    // Up moves towards the top of the screen: higher bitmap bytes.
    a.op(BITA_IMM), a.byte(0x04);
    a.branch(BNE, "noUp");
    a.op(LDB_EXT), a.word(kObjectRowAddress);
    a.op(CMPB_IMM), a.byte(240);
    a.branch(BHS, "noUp");
    a.op(ADDB_IMM), a.byte(2);
    a.op(STB_EXT), a.word(kObjectRowAddress);
    a.label("noUp");
    a.op(BITA_IMM), a.byte(0x08);
    a.branch(BNE, "noDown");
    a.op(LDB_EXT), a.word(kObjectRowAddress);
    a.branch(BEQ, "noDown");
    a.op(SUBB_IMM), a.byte(2);
    a.op(STB_EXT), a.word(kObjectRowAddress);
    a.label("noDown");
    // Fire (Ctrl, bit 5): sound command 1.
    a.op(BITA_IMM), a.byte(0x20);
    a.branch(BNE, "noFire");
    a.op(LDB_IMM), a.byte(1);
    a.op(STB_EXT), a.word(kSoundCommand);
    a.label("noFire");
    a.op(LDB_IMM), a.byte(1);
    a.op(JSR_EXT), a.word("blit"); // draw at the new place
    // Every 16th update: next bank, its routine, and the next command of the sound script.
    a.op(LDA_EXT), a.word(kLastFrame);
    a.op(ANDA_IMM), a.byte(0x0F);
    a.branch(BNE, "main");
    a.op(LDA_EXT), a.word(kBankAddress);
    a.op(ADDA_IMM), a.byte(1);
    a.op(ANDA_IMM), a.byte(3);
    a.op(STA_EXT), a.word(kBankAddress);
    a.op(JSR_EXT), a.word("selectBank");
    a.op(LDA_EXT), a.word(kLastFrame);
    for (int i = 0; i < 4; ++i)
        a.op(LSRA);
    a.op(ANDA_IMM), a.byte(uint8_t(std::size(kSoundScript) - 1));
    a.op(LDX_IMM), a.word("soundScript");
    a.op(LDA_IDX), a.byte(0x86); // LDA A,X
    a.op(STA_EXT), a.word(kSoundCommand);
    a.op(JMP_EXT), a.word("main");

    // A = bank: select it and run its routine in the bank window.
    a.label("selectBank");
    a.op(STA_EXT), a.word(kBankSelect);
    a.op(JSR_EXT), a.word(0x9000);
    a.op(RTS);

    // B = 1 draw, 0 erase: the object at its place.
    a.label("blit");
    a.op(LDA_EXT), a.word(kObjectXAddress);
    a.op(STA_EXT), a.word(kBlitter);
    a.op(LDA_EXT), a.word(kObjectRowAddress);
    a.op(STA_EXT), a.word(uint16_t(kBlitter + 1));
    a.op(LDA_IMM), a.byte(0);
    a.op(STA_EXT), a.word(uint16_t(kBlitter + 2));
    a.op(STB_EXT), a.word(uint16_t(kBlitter + 3));
    a.op(RTS);

    // The IRQ line stays asserted until the enable latch goes 0 then 1: acknowledge, count the
    // frame. (The IRQ entry saved A.)
    a.label("irq");
    a.op(LDA_IMM), a.byte(0);
    a.op(STA_EXT), a.word(kInterruptEnable);
    a.op(LDA_IMM), a.byte(1);
    a.op(STA_EXT), a.word(kInterruptEnable);
    a.op(INC_EXT), a.word(kFrame);
    a.op(RTI);

    a.label("title");
    a.data(titleBytes());
    a.label("soundScript");
    a.data({std::begin(kSoundScript), std::end(kSoundScript)});
    a.label("highScores");
    a.data(vortaDefaultHighScoreTable());

    a.org(0xFFF8);
    a.word("irq");
    a.org(0xFFFE);
    a.word("reset");
}

// Bank b: palette entry 3 = the bank's colour, then a 16 x 4 marker of pen b + 4.
std::vector<uint8_t> bankRoutine(int b)
{
    Emitter a(0x9000, 0x1000, vortaOpcodeEncryption);
    a.org(0x9000);
    a.op(LDA_IMM), a.byte(kBankColours[b]);
    a.op(STA_EXT), a.word(kObjectPaletteEntry);
    a.op(LDA_IMM), a.byte(uint8_t(0x11 * (b + 4)));
    a.op(LDX_IMM), a.word(uint16_t(kMarkerFirstLine * 128 + kMarkerByte));
    a.op(LDB_IMM), a.byte(16);
    a.label("loop");
    a.op(STA_IDX), a.byte(0x84);           // STA ,X
    a.op(STA_IDX), a.byte(0x01);           // STA 1,X
    a.op(LEAX), a.byte(0x89), a.word(128); // LEAX 128,X
    a.op(DECB);
    a.branch(BNE, "loop");
    a.op(RTS);
    return a.finish();
}

std::vector<uint8_t> slice(const std::vector<uint8_t>& bytes, std::size_t from)
{
    return {bytes.begin() + std::ptrdiff_t(from), bytes.begin() + std::ptrdiff_t(from + 0x2000)};
}

} // namespace

std::vector<uint8_t> vortaDefaultHighScoreTable()
{
    std::vector<uint8_t> table;
    for (uint8_t entry = 0; entry < kHighScoreTableBytes / 7; ++entry) {
        const uint8_t tens = uint8_t(9 - entry % 10); // 010000 for the first entry, then falling
        const uint8_t score[3] = {uint8_t(entry == 0 ? 0x01 : 0x00), uint8_t(entry == 0 ? 0x00 : tens << 4), 0x00};
        table.insert(table.end(), {score[0], score[1], score[2], uint8_t(entry + 2), 'A', 'A', 'A'});
    }
    return table;
}

std::map<std::string, std::vector<uint8_t>> buildVortaTestRomSet()
{
    Emitter code(0xA000, 0x6000, vortaOpcodeEncryption);
    program(code);
    const std::vector<uint8_t>& rom = code.finish();

    std::map<std::string, std::vector<uint8_t>> files;
    files["VSA_B9.BIN"] = slice(rom, 0x0000);
    files["VSB_B10.BIN"] = slice(rom, 0x2000);
    files["VSC_A10.BIN"] = slice(rom, 0x4000);

    // Two 4 KB banks per file; banks 0 to 3 carry routines, the rest stay empty.
    const char* bankFiles[] = {"VSC1_A4.BIN", "VSC2_A5.BIN", "VSC3_A6.BIN",
                               "VSC4_A7.BIN", "VSC5_A8.BIN", "VSC6_A9.BIN"};
    for (int f = 0; f < 6; ++f) {
        std::vector<uint8_t> file(0x2000, 0);
        for (int half = 0; half < 2; ++half) {
            const int bank = 2 * f + half;
            if (bank < 4) {
                const std::vector<uint8_t> routine = bankRoutine(bank);
                std::copy(routine.begin(), routine.end(), file.begin() + half * 0x1000);
            }
        }
        files[bankFiles[f]] = file;
    }

    std::vector<uint8_t> blitter(0x2000, 0);
    const std::vector<uint8_t> object = objectBytes();
    std::copy(object.begin(), object.end(), blitter.begin());
    files["VSS3_C7.BIN"] = blitter;
    files["VSS4_D7.BIN"] = std::vector<uint8_t>(0x2000, 0);
    files["VSS5_E7.BIN"] = std::vector<uint8_t>(0x2000, 0);
    return files;
}

bool writeVortaTestRomSet(const std::string& folder, std::string& error)
{
    return writeRomFiles(folder, "vorta", buildVortaTestRomSet(), error);
}

} // namespace vortastr::testrom
