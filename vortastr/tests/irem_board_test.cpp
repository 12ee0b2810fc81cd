// The Irem V30 boards: ports, the reset vector copy, the interrupt rules and the palette sync.
#include "boards/irem/irem_board.h"
#include "boards/irem/irem_palette.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace vortastr::test {
namespace {

using namespace irem;

uint32_t heldInputs = 0;
uint32_t fakePoll(uint32_t mask) { return heldInputs & mask; }
std::vector<std::pair<GameId, uint8_t>> soundCommands;

struct IremBoardTest : ::testing::Test {
    DipBytes dips{0x12, 0x34};

    void SetUp() override
    {
        heldInputs = 0;
        soundCommands.clear();
        Board& b = board();
        b.memory = CpuMemory::allocate(CpuV30);
        std::memset(b.data(), 0, b.size());
        b.io.pollInput = fakePoll;
        b.io.dips = &dips;
        b.io.soundCommand = [](GameId game, uint8_t command) { soundCommands.push_back({game, command}); };
    }
    void TearDown() override { board() = Board{}; }
};

TEST_F(IremBoardTest, PortsReadInputsDipsAndFixedValues)
{
    struct Case {
        uint16_t port;
        uint32_t held;
        uint8_t expected;
    };
    const Case cases[] = {
        {0, 0, 0xFF},
        {0, InputRight | InputLeft, 0xFE}, // right wins
        {0, InputLeft, 0xFD},
        {0, InputDown | InputUp, 0xFB}, // down wins
        {0, InputUp | InputCtrl | InputShift, 0x37},
        {1, InputPad4 | InputPad8, 0xF5},
        {1, InputPad6 | InputPad2 | InputPadDecimal | InputPadPlus, 0x3A},
        {1, InputLeft, 0xFF}, // player 1's keys do not reach player 2
        {2, InputDigit1 | InputDigit4, 0xF6},
        {2, InputDigit2 | InputDigit3, 0xF9},
        {3, InputRight, 0xFF},
        {6, 0, 0xFF},
        {4, 0, 0xED}, // NOT dipA
        {5, 0, 0xCB},
        {7, InputRight, 0x00},
        {0x80, 0, 0x00},
        {0x100, InputLeft, 0xFD}, // the low byte selects the port
    };
    for (const Case& c : cases) {
        heldInputs = c.held;
        EXPECT_EQ(portRead(c.port), c.expected) << "port " << c.port << " held " << c.held;
    }
}

TEST_F(IremBoardTest, PortZeroIsTheSoundCommandOnlyOnRTypeII)
{
    board().game = RType;
    const std::vector<uint8_t> before(board().data(), board().data() + board().size());
    portWrite(0, 0x42);
    EXPECT_EQ(iremState().ports[0], 0x42);
    EXPECT_TRUE(soundCommands.empty());
    EXPECT_TRUE(std::equal(before.begin(), before.end(), board().data()));
    IremState expected;
    expected.ports[0] = 0x42;
    EXPECT_EQ(iremState().ports, expected.ports);

    board().game = RType2;
    portWrite(0, 0x31);
    portWrite(0x85, 0x01);
    ASSERT_EQ(soundCommands.size(), 1u);
    EXPECT_EQ(soundCommands[0], (std::pair<GameId, uint8_t>{RType2, 0x31}));
    EXPECT_EQ(iremState().ports[0x85], 0x01);
}

TEST_F(IremBoardTest, ResetVectorComesFromTheEndOfEachProgram)
{
    struct Case {
        GameId game;
        uint32_t from;
    };
    for (const Case& c : {Case{RTypeJapanese, 0x3FFF0}, Case{RType, 0x3FFF0}, Case{Kengo, 0x3FFF0},
                          Case{DragonBreed, 0x5FFF0}, Case{RType2, 0x7FFF0}, Case{HeroTonma, 0x7FFF0}}) {
        uint8_t* memory = board().data();
        std::memset(memory, 0, board().size());
        for (uint32_t i = 0; i < kResetVectorBytes; ++i)
            memory[c.from + i] = static_cast<uint8_t>(0xA0 + i);
        copyResetVector(c.game, memory, board().size());
        for (uint32_t i = 0; i < kResetVectorBytes; ++i)
            EXPECT_EQ(memory[kResetVector + i], 0xA0 + i) << "game " << c.game;
    }
    // A block too small for the vector is left alone.
    std::vector<uint8_t> small(0x40000, 0x11);
    copyResetVector(RType, small.data(), small.size());
    EXPECT_EQ(small.back(), 0x11);
}

int32_t rule(GameId game, int32_t slice)
{
    board().currentSlice = slice;
    return interruptRule(game, board());
}

TEST_F(IremBoardTest, InterruptRulesByGameAndSlice)
{
    Board& b = board();
    EXPECT_EQ(rule(RType, 0), kVectorFrame);
    EXPECT_EQ(rule(DragonBreed, 0), kVectorFrame);
    EXPECT_EQ(rule(MasterT, 0), kVectorFrame);
    EXPECT_EQ(rule(RTypeLeo, 0), kVectorLegacy);
    EXPECT_EQ(rule(InTheHunt, 0), kVectorLegacy);
    EXPECT_EQ(rule(UnderCps, 0), kNoInterrupt);

    // RType II: the raster interrupt only while the flag byte asks for it; scroll latched.
    for (uint8_t flag : {0x00, 0xF6, 0xF7, 0xF8, 0xF9}) {
        b.data()[kRasterFlagAddress] = flag;
        const int32_t expected = flag == 0xF7 || flag == 0xF8 ? kVectorRaster : kNoInterrupt;
        EXPECT_EQ(rule(RType2, 0), expected) << int(flag);
        EXPECT_EQ(rule(Kengo, 0), expected) << int(flag);
    }
    EXPECT_EQ(rule(RType2, 1), kVectorFrame);
    EXPECT_EQ(rule(HeroTonma, 0), kVectorRaster);
    EXPECT_EQ(rule(HeroTonma, 1), kVectorFrame);

    portWrite(0x80, 0x34);
    portWrite(0x81, 0x12);
    portWrite(0x82, 0x78);
    portWrite(0x83, 0x01);
    rule(RType2, 1); // slice 1 latches nothing
    EXPECT_EQ(iremState().scrollWords[0], 0);
    rule(RType2, 0);
    EXPECT_EQ(iremState().scrollWords[0], 0x1234);
    EXPECT_EQ(iremState().scrollWords[1], 0x0178);
}

TEST_F(IremBoardTest, PaletteComponentsAndChangedEntriesOnly)
{
    EXPECT_EQ(componentOf(31), 255);
    EXPECT_EQ(componentOf(16), 128);
    EXPECT_EQ(componentOf(0), 0);
    EXPECT_EQ(componentOf(1), 9);

    DisplayState display; // 16-bit 5-6-5
    ColourTables colours;
    uint8_t* memory = board().data();
    fillPaletteRecords(0xFC);
    // Tile colour 5: (31, 16, 0); sprite colour 7: (1, 2, 3).
    memory[kTilePalette + 10] = 31;
    memory[kTilePalette + kPlaneStride + 10] = 16;
    memory[kSpritePalette + 14] = 1;
    memory[kSpritePalette + kPlaneStride + 14] = 2;
    memory[kSpritePalette + 2 * kPlaneStride + 14] = 3;
    syncPaletteRam(RType, display, colours, memory);
    EXPECT_EQ(colours.bank, 0);
    EXPECT_EQ(colours.rgb[0][5].red, 255);
    EXPECT_EQ(colours.rgb[0][5].green, 128);
    EXPECT_EQ(colours.rgb[0][5].blue, 0);
    EXPECT_EQ(colours.colour16[0][5], colour16Of(255, 128, 0, display.pixelFormat));
    EXPECT_EQ(colours.rgb[1][7].red, 9);
    EXPECT_EQ(colours.rgb[1][7].blue, componentOf(3));
    EXPECT_EQ(colours.colour16[1][7], colour16Of(9, componentOf(2), componentOf(3), display.pixelFormat));

    // Nothing changed: nothing is converted again (a marker in the table survives).
    colours.colour16[0][5] = 0x1234;
    colours.colour16[1][7] = 0x4321;
    syncPaletteRam(RType, display, colours, memory);
    EXPECT_EQ(colours.colour16[0][5], 0x1234);
    EXPECT_EQ(colours.colour16[1][7], 0x4321);
    // One plane byte changes: that colour alone is converted.
    memory[kTilePalette + 2 * kPlaneStride + 10] = 31;
    syncPaletteRam(RType, display, colours, memory);
    EXPECT_EQ(colours.colour16[0][5], colour16Of(255, 128, 255, display.pixelFormat));
    EXPECT_EQ(colours.colour16[1][7], 0x4321);

    // RType II keeps its tile palette at 0xD8000.
    memory[kTilePaletteLate + 2] = 31;
    syncPaletteRam(RType2, display, colours, memory);
    EXPECT_EQ(colours.rgb[0][1].red, 255);
}

} // namespace
} // namespace vortastr::test
