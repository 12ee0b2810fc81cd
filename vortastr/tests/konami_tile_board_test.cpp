// The Konami tile-and-sprite boards' handlers: run-button panels and cheat mode, joystick and
// system ports, Rock'n'Rope's digit keys, side buffer and IRQ vector, dropped writes, and the
// interrupt rule of Track'n'Field.
#include "boards/board_setup.h"
#include "boards/interrupt_rules.h"
#include "boards/konami_tile/konami_tile_board.h"
#include "cpu/m6809/m6809_engine.h"
#include "tests/m6809_bus.h"

#include <gtest/gtest.h>

#include <set>

namespace vortastr::test {
namespace {

uint32_t polled = 0;
std::set<DirectKey> direct;
uint32_t fakePoll(uint32_t mask) { return polled & mask; }
bool fakeKey(DirectKey key) { return direct.count(key) != 0; }

struct TileBoard : ::testing::Test {
    DipBytes dips{0x12, 0x34};
    uint8_t latch = 1;

    void SetUp() override
    {
        polled = 0;
        direct.clear();
        Board& b = board();
        b = Board{};
        b.io.pollInput = fakePoll;
        b.io.keyHeld = fakeKey;
        b.io.dips = &dips;
        b.io.interruptEnable = &latch;
    }
    void TearDown() override { board() = Board{}; }

    // A board of the game over zeroed memory, its pages mapped as the set-up maps them.
    void use(GameId game, bool cheat = false)
    {
        Board& b = board();
        b.game = game;
        b.io.cheatMode = cheat;
        b.memory = CpuMemory::allocate(Cpu6809);
        m6809Engine().state = M6809Context{};
        konamiTile::setUpBoard(b);
        konamiTile::setUpExtras(b);
    }
    uint8_t read(uint16_t address) { return busRead(address); }
    void write(uint16_t address, uint8_t value) { busWrite(address, value); }
    uint8_t* memory() { return board().data(); }
};

TEST_F(TileBoard, TrackFieldCheatModeAlternatesBitZeroWhileDownIsHeld)
{
    use(TrackNField, true);
    direct = {DirectKey::Down};
    for (uint16_t port : {uint16_t(0x1281), uint16_t(0x1282)}) {
        uint8_t previous = read(port);
        for (int i = 1; i < 6; ++i) {
            const uint8_t next = read(port);
            EXPECT_NE(next & 1, previous & 1) << port << " read " << i;
            EXPECT_EQ(next & 0x02, 0x02) << "Down does not press bit 1 in cheat mode";
            previous = next;
        }
    }
    // Each panel has its own toggle: reading one does not move the other.
    const uint8_t a1 = read(0x1281), b1 = read(0x1282), a2 = read(0x1281), b2 = read(0x1282);
    EXPECT_NE(a1 & 1, a2 & 1);
    EXPECT_NE(b1 & 1, b2 & 1);
    for (auto [pollBits, key] : {std::pair{uint32_t(InputShift), DirectKey::Down}, {0u, DirectKey::Up}}) {
        polled = pollBits;
        direct = {DirectKey::Down, key};
        EXPECT_EQ(read(0x1281) & 0x02, 0) << "Up or Shift still press bit 1";
    }
    direct.clear();
    polled = 0;
    EXPECT_EQ(read(0x1281) & 1, 1) << "without Down the toggle does not act";
}

TEST_F(TileBoard, WithoutCheatModeDownIsBitOneAndTheTogglesRest)
{
    use(TrackNField, false);
    direct = {DirectKey::Down};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(read(0x1281), 0xFD);
    use(HyperSports, false);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(read(0x1682), 0xFD);
}

TEST_F(TileBoard, RightAndLeftTogetherReportOnlyRight)
{
    struct Case {
        GameId game;
        uint16_t port;
        uint8_t right, left;
    };
    const Case cases[] = {{TrackNField, 0x1281, 0x01, 0x04},
                          {TrackNField, 0x1282, 0x01, 0x04},
                          {HyperSports, 0x1681, 0x01, 0x04},
                          {RockNRope, 0x3081, 0x02, 0x01},
                          {CircusCharlie, 0x1001, 0x02, 0x01}};
    for (const Case& c : cases) {
        use(c.game);
        polled = InputRight | InputLeft;
        const uint8_t both = read(c.port);
        EXPECT_EQ(both & c.right, 0) << c.port;
        EXPECT_EQ(both & c.left, c.left) << c.port;
        polled = InputLeft;
        EXPECT_EQ(read(c.port) & c.left, 0) << c.port;
    }
}

TEST_F(TileBoard, RunButtonPanelKeysClearTheirBits)
{
    struct Case {
        const char* what;
        uint16_t port;
        uint32_t poll;
        std::set<DirectKey> keys;
        uint8_t value;
    };
    const Case cases[] = {
        {"digit 6 on panel 1", 0x1281, 0, {DirectKey::Digit6}, 0xFE}, // step 1: bit 0
        {"digit 9 on panel 1", 0x1281, 0, {DirectKey::Digit9}, 0xF7},
        {"digit 5 on panel 1", 0x1281, 0, {DirectKey::Digit5}, 0xF7},
        {"digit 5 on panel 2", 0x1282, 0, {DirectKey::Digit5}, 0xFF},
        {"digit 6 on panel 2", 0x1282, 0, {DirectKey::Digit6}, 0xF7},
        {"pad 6 wins over pad 4", 0x1282, InputPad6 | InputPad4, {}, 0xEF},
        {"pad 4", 0x1281, InputPad4, {}, 0xBF},
        {"pad plus", 0x1281, InputPadPlus, {}, 0xDF},
        {"pad 8 read directly", 0x1282, 0, {DirectKey::Pad8}, 0xDF},
        {"Ctrl and Space", 0x1281, InputCtrl | InputSpace, {}, 0xFA},
        {"pad decimal and minus", 0x1282, InputPadDecimal | InputPadMinus, {}, 0xAF},
        {"Z X C", 0x1281, 0, {DirectKey::LetterZ, DirectKey::LetterX, DirectKey::LetterC}, 0x8F},
        {"Up", 0x1282, 0, {DirectKey::Up}, 0xFD},
    };
    use(TrackNField);
    for (const Case& c : cases) {
        polled = c.poll;
        direct = c.keys;
        EXPECT_EQ(read(c.port), c.value) << c.what;
    }
    // Hyper Sports has no step 1: digit 6 only presses bit 3 of panel 2.
    use(HyperSports);
    polled = 0;
    direct = {DirectKey::Digit6};
    EXPECT_EQ(read(0x1681), 0xFF);
    EXPECT_EQ(read(0x1682), 0xF7);
}

TEST_F(TileBoard, HyperSportsCheatCountersPressTheRunButtonsInTurn)
{
    use(HyperSports, true);
    direct = {DirectKey::Down};
    // Counter after the advance: 1, 2, ..., 7, 0, 1.
    const uint8_t player1[] = {0xFE, 0xFE, 0xFF, 0xFF, 0xFB, 0xFB, 0xFB, 0xFE};
    const uint8_t player2[] = {0xFE, 0xFE, 0xFE, 0xFB, 0xFB, 0xFB, 0xFB, 0xFE};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(read(0x1681), player1[i]) << "player 1 read " << i;
        EXPECT_EQ(read(0x1682), player2[i]) << "player 2 read " << i;
    }
}

TEST_F(TileBoard, SharedPortsAndDipSwitches)
{
    struct Case {
        GameId game;
        uint16_t address;
        uint32_t poll;
        uint8_t value;
    };
    const Case cases[] = {
        {TrackNField, 0x1200, 0, 0xCB},
        {TrackNField, 0x1283, 0, 0xED},
        {TrackNField, 0x1280, InputDigit3 | InputDigit2, 0xEE},
        {HyperSports, 0x1680, InputDigit4 | InputDigit1, 0xF5},
        {HyperSports, 0x1600, 0, 0xCB},
        {RockNRope, 0x3000, 0, 0xCB},
        {RockNRope, 0x3083, 0, 0xED},
        {RockNRope, 0x3082, InputPad2 | InputPad8 | InputPadPlus, 0xD7},
        {CircusCharlie, 0x1001, InputDown | InputUp | InputCtrl | InputShift, 0xC7},
        {CircusCharlie, 0x1002, InputPad4 | InputPadDecimal, 0xEE},
        {CircusCharlie, 0x1003, InputDigit1, 0x00},
        {CircusCharlie, 0x1400, 0, 0xED},
        {CircusCharlie2, 0x1800, 0, 0xCB},
    };
    for (const Case& c : cases) {
        use(c.game);
        polled = c.poll;
        EXPECT_EQ(read(c.address), c.value) << std::hex << c.address;
    }
}

TEST_F(TileBoard, RockNRopeDigitKeysPressTheirBitUnlessShiftOrCtrl)
{
    use(RockNRope);
    struct Case {
        std::set<DirectKey> keys;
        uint32_t poll;
        uint8_t value;
    };
    const Case cases[] = {
        {{DirectKey::Digit1}, 0, 0xFD},
        {{DirectKey::Digit1}, InputShift, 0xDF},
        {{DirectKey::Digit1}, InputCtrl, 0xEF},
        {{DirectKey::Digit5, DirectKey::Digit3}, 0, 0xF7}, // the lowest held digit only
        {{DirectKey::Digit0}, 0, 0xFE},
        {{DirectKey::Digit8}, 0, 0xFF}, // 8 and 9 are not tested
    };
    for (const Case& c : cases) {
        direct = c.keys;
        polled = c.poll;
        EXPECT_EQ(read(0x3081), c.value);
    }
}

TEST_F(TileBoard, RockNRopeWritesGoToRegistersTheSideBufferOrNowhere)
{
    use(RopeMan);
    for (uint16_t address : {uint16_t(0x3000), uint16_t(0x3080), uint16_t(0x30FF)}) {
        write(address, 0x5A);
        EXPECT_EQ(memory()[address], 0) << std::hex << address;
    }
    write(0x8001, 0x11);
    write(0x82FF, 0x22);
    write(0x8000, 0x33);
    const auto& side = board().family.konamiTile.sideBuffer;
    ASSERT_EQ(side.size(), konamiTile::kRockNRopeSideBufferBytes);
    EXPECT_EQ(side[0x001], 0x11);
    EXPECT_EQ(side[0x2FF], 0x22);
    EXPECT_EQ(side[0x000], 0);
    EXPECT_EQ(memory()[0x8001], 0);
    latch = 1;
    write(0x8087, 0);
    EXPECT_EQ(latch & 1, 0);
    EXPECT_EQ(memory()[0x8087], 0);
    write(0x8087, 7);
    EXPECT_EQ(latch & 1, 1);
}

TEST_F(TileBoard, RockNRopeVectorRegistersChangeWhereTheIrqGoes)
{
    use(RockNRope);
    uint8_t* m = memory();
    // Reset: a stack, IRQs on, spin; 0x3400 and 0x5600 spin too (opcodes are plain here).
    auto code = [m](uint16_t at, std::initializer_list<uint8_t> bytes) {
        for (uint8_t b : bytes) {
            m[at] = b;
            m[m6809OpcodeImage + at++] = b;
        }
    };
    code(0x6000, {0x10, 0xCE, 0x5F, 0x00, 0x1C, 0xEF, 0x20, 0xFE}); // LDS #$5F00, ANDCC, BRA *
    code(0x5600, {0x20, 0xFE});
    code(0x3400, {0x20, 0xFE});
    m[0xFFFE] = 0x60, m[0xFFFF] = 0x00;
    m[0xFFF8] = 0x56, m[0xFFF9] = 0x00;
    auto irqTarget = [&] {
        M6809Engine& e = m6809Engine();
        e.reset(m, m + m6809OpcodeImage);
        e.execute(100);
        e.state.pendingInterrupts = m6809IrqBit;
        e.execute(100);
        return e.state.pc;
    };
    EXPECT_EQ(irqTarget(), 0x5600);
    write(0x8188, 0x34);
    EXPECT_EQ(m[0xFFF8], 0x34);
    EXPECT_EQ(irqTarget(), 0x3400);
    write(0x8189, 0x02);
    EXPECT_EQ(m[0xFFF9], 0x02);
}

TEST_F(TileBoard, InterruptEnableWritesAndDroppedAddresses)
{
    struct Case {
        GameId game;
        uint16_t address;
        bool stored;
    };
    for (const Case& c :
         {Case{TrackNField, 0x1087, true}, Case{HyperSports, 0x1487, true}, Case{CircusCharlie, 0x0001, false}}) {
        use(c.game);
        m6809Engine().state.pendingInterrupts = m6809IrqBit;
        write(c.address, 0);
        EXPECT_EQ(latch & 1, 0);
        EXPECT_EQ(m6809Engine().state.pendingInterrupts, 0) << "a 0 drops the request";
        write(c.address, 0x80);
        EXPECT_EQ(latch & 1, 1);
        EXPECT_EQ(memory()[c.address], c.stored ? 0x80 : 0);
    }
    use(CircusCharlie2);
    write(0x0400, 9);
    write(0x1C00, 9);
    EXPECT_EQ(memory()[0x0400], 0);
    EXPECT_EQ(memory()[0x1C00], 9);
}

TEST_F(TileBoard, TrackFieldRaisesOneIrqPerTenSlices)
{
    use(TrackNField);
    board().slicesPerFrame = 10;
    int irqs = 0;
    for (int slice = 0; slice < 30; ++slice) {
        const int32_t answer = interruptRule(TrackNField, 0);
        irqs += answer == m6809AnswerIrq;
        EXPECT_EQ(answer == m6809AnswerIrq, slice % 10 == 9) << slice;
    }
    EXPECT_EQ(irqs, 3);
    latch = 0;
    for (int slice = 0; slice < 10; ++slice)
        EXPECT_NE(interruptRule(TrackNField, 0), m6809AnswerIrq);
}

} // namespace
} // namespace vortastr::test
