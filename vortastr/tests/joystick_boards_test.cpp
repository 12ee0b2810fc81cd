// The handlers of WhizQuiz, Shaolin's Road and MegaZone: every port of each map, the interrupt
// latches (Shaolin's Road keeps the whole control byte and interrupts on its bit 2) and the
// stores that reach memory.
#include "boards/board_setup.h"
#include "boards/interrupt_rules.h"
#include "boards/konami_tile/konami_tile_board.h"
#include "boards/konami_tile/mega_zone_board.h"
#include "boards/konami_tile/shaolin_board.h"
#include "boards/konami_tile/whiz_quiz_board.h"
#include "cpu/m6809/m6809_engine.h"
#include "tests/m6809_bus.h"

#include <gtest/gtest.h>

namespace vortastr::test {
namespace {

uint32_t polled = 0;
uint32_t fakePoll(uint32_t mask) { return polled & mask; }

struct JoystickBoards : ::testing::Test {
    DipBytes dips{0x12, 0x34};
    uint8_t latch = 1;

    void SetUp() override
    {
        polled = 0;
        Board& b = board();
        b = Board{};
        b.io.pollInput = fakePoll;
        b.io.dips = &dips;
        b.io.interruptEnable = &latch;
    }
    void TearDown() override { board() = Board{}; }

    void use(GameId game)
    {
        Board& b = board();
        b.game = game;
        b.memory = CpuMemory::allocate(Cpu6809);
        m6809Engine().state = M6809Context{};
        switch (game) {
        case WhizQuiz: konamiTile::setUpWhizQuiz(b); break;
        case MegaZone: konamiTile::setUpMegaZone(b); break;
        default: konamiTile::setUpShaolinsRoad(b); break;
        }
    }
    uint8_t read(uint16_t address) { return busRead(address); }
    void write(uint16_t address, uint8_t value) { busWrite(address, value); }
};

struct PortCase {
    GameId game;
    uint16_t dipA, dipB, system, joystick1, joystick2;
};
constexpr PortCase kPorts[] = {
    {WhizQuiz, 0x1283, 0x1200, 0x1280, 0x1281, 0x1282},
    {MegaZone, 0x0083, 0x0084, 0x0080, 0x0081, 0x0082},
    {ShaolinsRoad, 0x0083, 0x0084, 0x0080, 0x0081, 0x0082},
};

TEST_F(JoystickBoards, EveryPortReadsItsInputsActiveLow)
{
    for (const PortCase& c : kPorts) {
        use(c.game);
        polled = 0;
        EXPECT_EQ(read(c.dipA), 0xED) << c.game;
        EXPECT_EQ(read(c.dipB), 0xCB) << c.game;
        EXPECT_EQ(read(c.system), 0xFF) << c.game;
        EXPECT_EQ(read(c.joystick1), 0xFF) << c.game;
        EXPECT_EQ(read(c.joystick2), 0xFF) << c.game;
        // Right and Left together report Right; Down and Ctrl; the player-2 keys do not reach
        // player 1's port.
        polled = InputRight | InputLeft | InputDown | InputCtrl | InputDigit1 | InputPad4;
        EXPECT_EQ(read(c.joystick1), 0xFF & ~0x02 & ~0x08 & ~0x10) << c.game;
        EXPECT_EQ(read(c.joystick2), 0xFF & ~0x01) << c.game;
        EXPECT_EQ(read(c.system), 0xFF & ~0x08) << c.game;
        // Other addresses of the handler page read what is stored there.
        board().data()[c.system + 8] = 0x5A;
        EXPECT_EQ(read(uint16_t(c.system + 8)), 0x5A) << c.game;
    }
}

TEST_F(JoystickBoards, InterruptEnableRegistersAndWhatTheyStore)
{
    struct Case {
        GameId game;
        uint16_t address;
        uint8_t on, off;
    };
    for (const Case& c : {Case{WhizQuiz, 0x1087, 1, 0}, Case{MegaZone, 0x0007, 1, 0}}) {
        use(c.game);
        latch = 0;
        write(c.address, c.on);
        EXPECT_EQ(interruptRule(c.game, 0), m6809AnswerIrq) << c.game;
        m6809Engine().state.pendingInterrupts = 0x02;
        write(c.address, c.off);
        EXPECT_EQ(interruptRule(c.game, 0), 0) << c.game;
        EXPECT_EQ(m6809Engine().state.pendingInterrupts, 0) << "a 0 drops the pending IRQ";
        EXPECT_EQ(board().data()[c.address], c.off) << "the register byte is stored too";
    }
}

TEST_F(JoystickBoards, ShaolinInterruptsFollowBitTwoOfTheWholeControlByte)
{
    use(ShaolinsRoad);
    const struct {
        uint8_t value;
        bool irq;
    } cases[] = {{0x04, true}, {0x01, false}, {0x07, true}, {0xFB, false}, {0x00, false}};
    for (const auto& c : cases) {
        m6809Engine().state.pendingInterrupts = 0x02;
        write(konamiTile::shaolinPort::kControl, c.value);
        EXPECT_EQ(latch, c.value) << "the latch keeps the whole byte";
        EXPECT_EQ(interruptRule(ShaolinsRoad, 0), c.irq ? m6809AnswerIrq : 0) << int(c.value);
        EXPECT_EQ(m6809Engine().state.pendingInterrupts, c.irq ? 0x02 : 0) << int(c.value);
    }
    write(konamiTile::shaolinPort::kSpriteBank, 3);
    EXPECT_EQ(board().data()[konamiTile::shaolinPort::kSpriteBank], 3) << "the renderer reads the bank back";
}

TEST_F(JoystickBoards, ProgramRomAndVideoRamAreDirectPages)
{
    for (GameId game : {WhizQuiz, MegaZone, ShaolinsRoad}) {
        use(game);
        const M6809Context& t = m6809Engine().state;
        for (unsigned page : {0x20u, 0x28u, 0x30u, 0x60u, 0xFFu}) {
            EXPECT_NE(t.readPage[page], nullptr) << game << " page " << page;
            EXPECT_NE(t.writePage[page], nullptr) << game << " page " << page;
        }
        EXPECT_TRUE(board().ownTables);
    }
}

} // namespace
} // namespace vortastr::test
