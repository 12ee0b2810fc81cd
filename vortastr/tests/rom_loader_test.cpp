#include "boards/graphics_decode.h"
#include "boards/graphics_sets.h"
#include "boards/rom_files.h"
#include "boards/rom_loader.h"
#include "boards/rom_sets.h"
#include "tests/game_fixtures.h"
#include "video/graphics_sheet.h"

#include <gtest/gtest.h>

namespace vortastr::test {
namespace {

// The loader's context pointed at a temporary folder, with the messages it shows collected.
struct LoaderFixture : ::testing::Test {
    TempFolder folder;
    std::vector<std::string> messages;

    void SetUp() override
    {
        romFiles().romPath = folder.str();
        romFiles().reportError = [this](const std::string& text) { messages.push_back(text); };
    }
    void TearDown() override
    {
        romFiles().reportError = nullptr;
        romFiles().romPath = ".";
        releaseSheets();
    }
    void put(const std::string& name, std::vector<uint8_t> bytes) { writeFile(romFile(folder, name), bytes); }
};

TEST_F(LoaderFixture, AFileThatDoesNotOpenIsNamedInTheHostsForm)
{
    std::vector<uint8_t> memory(0x10000, 0);
    EXPECT_EQ(loadRomList(memory, {"vorta\\VSA_B9.BIN"}, 0xA000, 8192), 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Couldn't open \"vorta/VSA_B9.BIN\".\n\nCheck you have correctly named roms");
}

TEST_F(LoaderFixture, NamesAreFoundWithoutRegardToCase)
{
    writeFile(folder.path() / "Vorta" / "vsa_b9.bin", {1, 2, 3});
    std::vector<uint8_t> memory(16, 0xEE);
    EXPECT_EQ(loadRomList(memory, {"vorta\\VSA_B9.BIN"}, 4, 8), 0);
    EXPECT_TRUE(messages.empty());
    // A short file fills less; the rest keeps what the buffer held.
    EXPECT_EQ(memory, (std::vector<uint8_t>{0xEE, 0xEE, 0xEE, 0xEE, 1, 2, 3, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE,
                                            0xEE, 0xEE}));
}

TEST_F(LoaderFixture, ListsLoadInOrderStopAtTheFirstMissingFileAndNeverWritePastTheBuffer)
{
    put("g\\a", {1, 1});
    put("g\\b", {2, 2});
    std::vector<uint8_t> memory(5, 0);
    EXPECT_EQ(loadRomList(memory, {"g\\a", "g\\b", "g\\c"}, 1, 2), 1);
    EXPECT_EQ(memory, (std::vector<uint8_t>{0, 1, 1, 2, 2}));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("g/c"), std::string::npos);

    std::vector<uint8_t> small(3, 0);
    EXPECT_EQ(loadRomList(small, {"g\\a", "g\\b"}, 2, 2), 0);
    EXPECT_EQ(small, (std::vector<uint8_t>{0, 0, 1}));
}

TEST_F(LoaderFixture, PairsInterleaveEvenAndOddBytes)
{
    put("p\\e0", {0x10, 0x11});
    put("p\\o0", {0x20, 0x21});
    put("p\\e1", {0x30});
    put("p\\o1", {0x40, 0x41});
    std::vector<uint8_t> memory(10, 0xFF);
    EXPECT_EQ(loadRomPairs(memory, {{"p\\e0", "p\\o0"}, {"p\\e1", "p\\o1"}}, 1, 2), 0);
    EXPECT_EQ(memory, (std::vector<uint8_t>{0xFF, 0x10, 0x20, 0x11, 0x21, 0x30, 0x40, 0xFF, 0x41, 0xFF}));
    EXPECT_EQ(loadRomPairs(memory, {{"p\\e0", "p\\missing"}}, 0, 2), 1);
}

TEST_F(LoaderFixture, RTypeFallsBackToTheAudFilesSilently)
{
    const ProgramRoms roms = programRoms(RType);
    ASSERT_EQ(roms.fallbackProbe, "rtype\\cn3_l0.bin");
    EXPECT_FALSE(openRomSilently(roms.fallbackProbe));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(roms.fallbackPairs.at(0).pairs.at(0).even, "rtype\\aud-l0.bin");
    // With neither set present the message names the aud file.
    std::vector<uint8_t> memory(0x100000, 0);
    EXPECT_EQ(loadRomPairs(memory, roms.fallbackPairs[0].pairs, 0, 65536), 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("rtype/aud-l0.bin"), std::string::npos);
}

TEST_F(LoaderFixture, AFailedSecondDecodeKeepsTheFirstInTheSheet)
{
    // Circus Charlie characters: two single-file decodes to lines 0 and 128.
    std::vector<uint8_t> tile(8192, 0);
    tile[0] = 0x5A; // tile 0, column 7: rows 0 (5) and 1 (A)
    put("circusch\\a04_j12.bin", tile);
    EXPECT_EQ(loadCharacterSet(CircusCharlie), -1);
    ASSERT_TRUE(graphicsSheets().tileSheet);
    const GraphicsSheet& sheet = *graphicsSheets().tileSheet;
    EXPECT_EQ(sheet.units, 2);
    EXPECT_EQ(sheet.line(0)[7], 5);
    EXPECT_EQ(sheet.line(1)[7], 0xA);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("circusch/a05_k13.bin"), std::string::npos);
}

TEST_F(LoaderFixture, GamesWithoutASetGetAOneUnitSheet)
{
    for (GameId game : {Tutankham, VortaStrike, VortaStrikeBootleg}) {
        EXPECT_EQ(loadCharacterSet(game), 0);
        EXPECT_EQ(graphicsSheets().tileSheet->units, 1);
        EXPECT_EQ(loadSpriteSet(game), 0);
        EXPECT_EQ(graphicsSheets().spriteSheet->units, 1);
    }
    EXPECT_TRUE(messages.empty());
}

// Pixel (x, y) of a decoded image.
int pen(const std::vector<uint8_t>& image, int x, int y) { return image.at(std::size_t(y) * 128 + std::size_t(x)); }

struct DecodeCase {
    const char* rule;
    GameId game;
    bool sprites;
    std::size_t byte;                       // byte index set in the inputs
    std::array<uint8_t, 4> values;          // its value in files 1 to 4
    std::vector<std::array<int, 3>> pixels; // x, y, pen
};

TEST(GraphicsDecode, EachRulePlacesItsBitsWhereTheBoardPutsThem)
{
    const DecodeCase cases[] = {
        // Four planes: bit 7 is the left pixel; file n weighs 2^(n-1). Tile 17 is at (8, 8).
        {"four-plane tile", RType, false, 8 * 17 + 2, {0x80, 0x80, 0x00, 0x01}, {{8, 10, 3}, {15, 10, 8}, {9, 10, 0}}},
        // Sprite 9 at (16, 16): bytes 16-23 are the right half.
        {"four-plane sprite", RType, true, 32 * 9 + 16 + 3, {0x01, 0, 0x01, 0}, {{16 + 15, 16 + 3, 5}}},
        // Hyper Sports characters: A from file 2; byte 8 gives the right four pixels.
        {"nibble-pair tile", HyperSports, false, 8, {0x80, 0x08, 0, 0}, {{4, 0, 9}, {5, 0, 0}}},
        {"nibble-pair tile B", HyperSports, false, 0, {0x11, 0, 0, 0}, {{3, 0, 3}}},
        // Rotated: byte 3 is column 3, rule pixel 0 row 7.
        {"rotated nibble-pair tile", RockNRope, false, 3, {0, 0x08, 0, 0}, {{3, 7, 8}}},
        {"rotated nibble-pair tile low rows", RockNRope, false, 8 + 1, {0x80, 0, 0, 0}, {{1, 3, 1}}},
        // Track'n'Field sprites take A from file 1; bytes 32-63 are rows 8-15.
        {"nibble-pair sprite", TrackNField, true, 32 + 8 + 2, {0x01, 0x10, 0, 0}, {{4 + 3, 8 + 2, 9}}},
        {"packed tile", TrackNField, false, 32 * 2 + 5, {0xC3, 0, 0, 0}, {{16 + 2, 1, 0xC}, {16 + 3, 1, 3}}},
        {"rotated packed tile", CircusCharlie, false, 6, {0x9E, 0, 0, 0}, {{6, 4, 9}, {6, 5, 0xE}}},
        // Crystal Castles: 8 x 16 sprites, 16 per band; row r from bytes 2r and 2r + 1.
        {"crystal castles sprite",
         CrystalCastles,
         true,
         32 * 17 + 2 * 4 + 1,
         {0x11, 0x10, 0, 0},
         {{8 + 7, 16 + 4, 1 + 2 * 1 + 8}}},
    };
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(c.rule);
        GraphicsInputs in;
        for (int f = 0; f < 4; ++f) {
            in[std::size_t(f)].assign(8192, 0);
            in[std::size_t(f)][c.byte] = c.values[std::size_t(f)];
        }
        const auto image = c.sprites ? decodeSpriteImage(c.game, in, 2) : decodeCharacterImage(c.game, in, 2);
        ASSERT_EQ(image.size(), 2 * kBlockBytes);
        for (const auto& [x, y, expected] : c.pixels)
            EXPECT_EQ(pen(image, x, y), expected) << "at " << x << "," << y;
    }
}

TEST(GraphicsDecode, AnImageLargerThanItsFilesStaysZeroPastThem)
{
    GraphicsInputs in;
    in[0].assign(32, 0xFF);
    const auto image = decodeCharacterImage(TrackNField, in, 1); // one packed tile from 32 bytes
    EXPECT_EQ(pen(image, 7, 7), 15);
    EXPECT_EQ(pen(image, 8, 0), 0);
}

} // namespace
} // namespace vortastr::test
