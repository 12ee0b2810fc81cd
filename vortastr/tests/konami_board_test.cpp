#include "boards/board_setup.h"
#include "boards/interrupt_rules.h"
#include "boards/konami_bitmap/konami_bitmap_board.h"
#include "boards/rom_files.h"
#include "cpu/m6809/m6809_engine.h"
#include "tests/game_fixtures.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vortastr::test {
namespace {

using namespace konamiBitmap;

uint32_t heldInputs = 0;
uint32_t fakePoll(uint32_t mask) { return heldInputs & mask; }

// A board set up from a ROM folder, with the handlers' links pointing at local state.
struct BoardFixture : ::testing::Test {
    TempFolder folder;
    DipBytes dips{0x12, 0x34};
    uint8_t latch = 1;
    std::vector<std::pair<GameId, uint8_t>> sounds;
    std::vector<std::string> messages;
    static BoardFixture* current;

    void SetUp() override
    {
        current = this;
        heldInputs = 0;
        romFiles().romPath = folder.str();
        romFiles().reportError = [this](const std::string& text) { messages.push_back(text); };
        board().io.pollInput = fakePoll;
        board().io.dips = &dips;
        board().io.interruptEnable = &latch;
        board().io.soundCommand = [](GameId game, uint8_t command) { current->sounds.push_back({game, command}); };
    }
    void TearDown() override
    {
        board().io = BoardIo{};
        romFiles().reportError = nullptr;
        romFiles().romPath = ".";
    }
    void setUp(GameId game)
    {
        ASSERT_EQ(setUpBoard(game), kBoardOk);
        setUpExtras(game);
    }
    uint8_t* memory() { return board().data(); }
    uint8_t read(uint16_t address) { return m6809Engine().state.readHandler[address >> 8](address); }
    void write(uint16_t address, uint8_t value) { m6809Engine().state.writeHandler[address >> 8](value, address); }
};
BoardFixture* BoardFixture::current = nullptr;

TEST_F(BoardFixture, VortaStrikeBoardTakesItsTimingMapAndRegisters)
{
    writeTestRomSet(folder);
    setUp(VortaStrike);
    const Board& b = board();
    EXPECT_EQ(b.kind, Cpu6809);
    EXPECT_EQ(b.cyclesPerSlice, 34133);
    EXPECT_EQ(b.slicesPerFrame, 1);
    EXPECT_EQ(b.framesPerSecond, 60);
    EXPECT_EQ(b.visibleWidth, 256);
    EXPECT_EQ(b.visibleHeight, 256);
    ASSERT_EQ(b.slots.cpuCount, 1);
    EXPECT_EQ(b.slots.slot[0].secondImage, b.data() + 0x10000);
    const M6809Context& t = b.slots.slot[0].m6809;
    EXPECT_EQ(t.readPage[0x00], b.data());
    EXPECT_EQ(t.writePage[0x7F], b.data() + 0x7F00);
    EXPECT_EQ(t.readPage[0x80], nullptr);
    EXPECT_EQ(t.writeHandler[0x87], vortaStrikeWrite);
    EXPECT_EQ(t.readPage[0x88], b.data() + 0x8800);
    EXPECT_EQ(t.writePage[0x9F], b.data() + 0x9F00);
    EXPECT_EQ(t.readPage[0xA0], b.data() + 0xA000);
    EXPECT_EQ(t.writePage[0xFF], nullptr);
    // ROM is writable through the board's default store.
    t.writeHandler[0xC0](0x5A, 0xC012);
    EXPECT_EQ(b.data()[0xC012], 0x5A);
}

TEST_F(BoardFixture, VortaStrikePortsAreActiveLowWithTheDipBytesInverted)
{
    writeTestRomSet(folder);
    setUp(VortaStrike);
    EXPECT_EQ(read(0x8010), uint8_t(~0x34));
    EXPECT_EQ(read(0x802C), uint8_t(~0x12));
    EXPECT_EQ(read(0x8024), 0x7F);
    heldInputs = InputLeft | InputRight | InputDown | InputSpace | InputCtrl;
    EXPECT_EQ(read(0x8024), 0x7F & ~0x01 & ~0x08 & ~0x10 & ~0x20); // left wins over right
    heldInputs = InputPad6 | InputPad8 | InputPadMinus | InputPadDecimal;
    EXPECT_EQ(read(0x8028), 0x7F & ~0x02 & ~0x04 & ~0x10 & ~0x20);
    heldInputs = InputDigit1 | InputDigit3;
    EXPECT_EQ(read(0x8020), 0xFF & ~0x08 & ~0x04);
    memory()[0x8040] = 0x77;
    EXPECT_EQ(read(0x8040), 0x77);
}

TEST_F(BoardFixture, InterruptEnableAndSoundCommand)
{
    writeTestRomSet(folder);
    setUp(VortaStrike);
    m6809Engine().state.pendingInterrupts = m6809IrqBit;
    write(0x8030, 0x80);
    EXPECT_EQ(latch & 1, 1);
    EXPECT_EQ(m6809Engine().state.pendingInterrupts, m6809IrqBit);
    write(0x8030, 0);
    EXPECT_EQ(latch & 1, 0);
    EXPECT_EQ(m6809Engine().state.pendingInterrupts, 0);
    write(0x8050, 7);
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0], (std::pair<GameId, uint8_t>{VortaStrike, 7}));
}

TEST_F(BoardFixture, BankSelectPutsPlainDataAndDecryptedOpcodesInTheWindow)
{
    writeTestRomSet(folder);
    std::vector<uint8_t> bank5(0x2000, 0);
    for (std::size_t i = 0; i < bank5.size(); ++i)
        bank5[i] = uint8_t(i * 7 + 3);
    writeFile(romFile(folder, "vorta\\VSC3_A6.BIN"), bank5); // banks 4 and 5
    setUp(VortaStrike);
    write(0x8060, 5);
    for (uint32_t i : {0u, 1u, 2u, 8u, 10u, 0xFFFu}) {
        const uint8_t plain = bank5[0x1000 + i];
        const uint32_t a = 0x9000 + i;
        const uint8_t mask = uint8_t(((a & 2) ? 0x80 : 0x20) | ((a & 8) ? 0x08 : 0x02));
        EXPECT_EQ(memory()[0x9000 + i], plain);
        EXPECT_EQ(memory()[0x19000 + i], uint8_t(plain ^ mask)) << i;
    }
    EXPECT_EQ(board().family.konamiBitmap.romBank, 5);
    // Banks past the decrypted copy leave the window as it is.
    write(0x8060, 12);
    EXPECT_EQ(board().family.konamiBitmap.romBank, 5);
    EXPECT_EQ(memory()[0x9001], bank5[0x1001]);
}

TEST_F(BoardFixture, BlitterDrawsSwappedNibblesAndErasesTheOppositeNibbles)
{
    writeTestRomSet(folder);
    setUp(VortaStrike);
    Board& b = board();
    std::vector<uint8_t> before(memory(), memory() + 0x8000);

    // An all-zero source (blitter offset 0x100) changes nothing in draw mode.
    auto blit = [&](uint8_t line, uint8_t byteTimes2, uint16_t sourceTimes2, uint8_t mode) {
        write(0x8070, line);
        write(0x8071, byteTimes2);
        write(0x8072, uint8_t(sourceTimes2 >> 8));
        write(0x8073, uint8_t((sourceTimes2 & 0xFE) | mode));
    };
    blit(10, 20, 0x200, 1);
    EXPECT_EQ(std::memcmp(before.data(), memory(), 0x8000), 0);

    // Draw: the source 0x12 lands as 0x21; zero source bytes keep the destination.
    b.family.konamiBitmap.bankBuffer[0xC000 + 0x100] = 0x12;
    b.family.konamiBitmap.bankBuffer[0xC000 + 0x100 + 8 * 15 + 7] = 0xF0;
    memory()[10 * 128 + 10 + 1] = 0x99;
    blit(10, 20, 0x200, 1);
    EXPECT_EQ(memory()[10 * 128 + 10], 0x21);
    EXPECT_EQ(memory()[10 * 128 + 11], 0x99);
    EXPECT_EQ(memory()[25 * 128 + 17], 0x0F);
    EXPECT_EQ(memory()[26 * 128 + 10], 0x00);

    // Erase: a high source nibble clears the low destination nibble and the reverse.
    memory()[10 * 128 + 10] = 0xAB;
    memory()[25 * 128 + 17] = 0xCD;
    blit(10, 20, 0x200, 0);
    EXPECT_EQ(memory()[10 * 128 + 10], 0x00); // 0x12: both nibbles set
    EXPECT_EQ(memory()[25 * 128 + 17], 0xC0); // 0xF0: low nibble cleared
    EXPECT_EQ(memory()[10 * 128 + 11], 0x99);

    // Rows past the bitmap are dropped rather than written over the I/O area.
    const uint8_t ioByte = memory()[0x8000 + 9 * 128 + 17];
    blit(250, 20, 0x200, 1);
    EXPECT_EQ(memory()[250 * 128 + 10], 0x21);
    EXPECT_EQ(memory()[0x8000 + 9 * 128 + 17], ioByte);
}

TEST_F(BoardFixture, TutankhamBankTwelveSelectsNine)
{
    writeBlankRomSet(folder, Tutankham);
    std::vector<uint8_t> ninthFile(4096, 0x88);
    writeFile(romFile(folder, "tutankhm\\ra1_9i.cpu"), ninthFile); // bank 8
    setUp(Tutankham);
    EXPECT_EQ(board().cyclesPerSlice, 34133);
    ASSERT_EQ(board().family.konamiBitmap.bankBuffer.size(), 40u * 1024);
    EXPECT_EQ(board().family.konamiBitmap.bankBuffer[8 * 4096], 0x88);
    // Bank 9 is the last 4 KB of the buffer, past the nine files.
    std::fill(board().family.konamiBitmap.bankBuffer.begin() + 9 * 4096, board().family.konamiBitmap.bankBuffer.end(),
              0x99);
    write(0x8300, 12);
    EXPECT_EQ(board().family.konamiBitmap.romBank, 9);
    EXPECT_EQ(memory()[0x9000], 0x99);
    EXPECT_EQ(memory()[0x9FFF], 0x99);
    // Code in the banks runs: opcodes are fetched from the selected bank, undecrypted.
    EXPECT_EQ(memory()[0x19000], 0x99);
    EXPECT_EQ(memory()[0x19FFF], 0x99);
    write(0x8300, 0x28);
    EXPECT_EQ(board().family.konamiBitmap.romBank, 8);
    EXPECT_EQ(memory()[0x9000], 0x88);
    EXPECT_EQ(memory()[0x19000], 0x88);
}

TEST_F(BoardFixture, TutankhamRunsARoutineInTheSelectedBank)
{
    writeBlankRomSet(folder, Tutankham);
    // Reset vector 0xF000: select bank 3, call 0x9000 and store what the bank routine left in A.
    std::vector<uint8_t> program(4096, 0x12); // NOP
    const uint8_t code[] = {0x86, 0x03,       // LDA #3
                            0xB7, 0x83, 0x00, // STA 0x8300
                            0xBD, 0x90, 0x00, // JSR 0x9000
                            0xB7, 0x40, 0x00, // STA 0x4000
                            0x20, 0xFE};      // BRA *
    std::copy(std::begin(code), std::end(code), program.begin());
    program[0xFFE] = 0xF0;
    program[0xFFF] = 0x00;
    writeFile(romFile(folder, "tutankhm\\ra1_6h.cpu"), program);
    std::vector<uint8_t> bank(4096, 0x12);
    bank[0] = 0x86; // LDA #0x5A
    bank[1] = 0x5A;
    bank[2] = 0x39;                                           // RTS
    writeFile(romFile(folder, "tutankhm\\ra1_4i.cpu"), bank); // bank 3
    setUp(Tutankham);
    resetAllCpus(board().slots);
    runCpuSlice(board().slots, 8);
    EXPECT_EQ(board().family.konamiBitmap.romBank, 3);
    EXPECT_EQ(memory()[0x4000], 0x5A);
}

TEST_F(BoardFixture, TutankhamPortsScrollAndSound)
{
    writeBlankRomSet(folder, Tutankham);
    setUp(Tutankham);
    write(0x8100, 0x44);
    EXPECT_EQ(board().family.konamiBitmap.scroll, 0x44);
    heldInputs = InputSpace | InputShift | InputUp;
    EXPECT_EQ(read(0x81A0), 0x7F & ~0x40 & ~0x10 & ~0x04);
    heldInputs = InputPadPlus | InputPadMinus | InputPadDecimal;
    EXPECT_EQ(read(0x81C0), 0x7F & ~0x10 & ~0x40 & ~0x20);
    EXPECT_EQ(read(0x8160), uint8_t(~0x34));
    EXPECT_EQ(read(0x81E0), uint8_t(~0x12));
    write(0x8700, 3);
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0].first, 8);
}

TEST_F(BoardFixture, TutankhamAfterVortaStrikeIsFreshAndUndecrypted)
{
    writeTestRomSet(folder);
    writeBlankRomSet(folder, Tutankham);
    std::vector<uint8_t> program(4096, 0x5C);
    writeFile(romFile(folder, "tutankhm\\ra1_6h.cpu"), program); // 0xF000-0xFFFF
    setUp(VortaStrike);
    memory()[0x1234] = 0xAB;
    releaseExtras(VortaStrike);
    setUp(Tutankham);
    EXPECT_EQ(memory()[0x1234], 0);
    EXPECT_EQ(memory()[0x1F000], 0x5C);
    EXPECT_EQ(memory()[0x1F002], 0x5C);
    EXPECT_TRUE(board().family.konamiBitmap.decryptedBanks.empty());
    EXPECT_EQ(board().slots.slot[0].m6809.writeHandler[0x81], tutankhamWrite);
}

TEST_F(BoardFixture, AMissingProgramRomEndsTheSetUp)
{
    EXPECT_EQ(setUpBoard(VortaStrike), kBoardRomMissing);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("vorta/VSA_B9.BIN"), std::string::npos);
    EXPECT_EQ(board().data(), nullptr);
}

TEST_F(BoardFixture, BoardsOfLaterVersionsSayTheyAreNotAvailable)
{
    // Number 5 has no board in any version (and no title, so the message names its number).
    EXPECT_EQ(setUpBoard(Unused5), kBoardNotAvailable);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "ERROR - The board of \"game 5\" is not available in this version");
}

TEST_F(BoardFixture, BitmapBoardsInterruptEverySecondSliceWhileEnabled)
{
    writeTestRomSet(folder);
    setUp(VortaStrike);
    latch = 1;
    std::vector<int32_t> answers;
    for (int i = 0; i < 4; ++i)
        answers.push_back(interruptRule(VortaStrike, 0));
    latch = 0;
    answers.push_back(interruptRule(VortaStrike, 0));
    answers.push_back(interruptRule(VortaStrike, 0));
    latch = 1;
    answers.push_back(interruptRule(VortaStrike, 0));
    answers.push_back(interruptRule(VortaStrike, 0));
    EXPECT_EQ(answers, (std::vector<int32_t>{0, 2, 0, 2, 0, 0, 0, 2}));
}

TEST(InterruptRules, TheTableOfOtherBoards)
{
    uint8_t latch = 1;
    board().io.interruptEnable = &latch;
    board().slicesPerFrame = 10;
    board().sliceCounter = 0;
    EXPECT_EQ(interruptRule(Vanguard, 0), m6502AnswerIrq);
    EXPECT_EQ(interruptRule(Zoar, 0), m6502AnswerNmi);
    EXPECT_EQ(interruptRule(SkyKid, 0), m6809AnswerIrq);
    EXPECT_EQ(interruptRule(Scramble, 0), z80AnswerNmi);
    EXPECT_EQ(interruptRule(NewZealandStory, 0), 0x38);
    EXPECT_EQ(interruptRule(RType, 0), 0x20);
    EXPECT_EQ(interruptRule(InTheHunt, 0), 8);
    EXPECT_EQ(interruptRule(PandorasPalace, 0), 0);
    // Track'n'Field: one IRQ per frame of ten slices.
    int irqs = 0;
    for (int i = 0; i < 30; ++i)
        irqs += interruptRule(TrackNField, 0) == m6809AnswerIrq;
    EXPECT_EQ(irqs, 3);
    latch = 0;
    EXPECT_EQ(interruptRule(SkyKid, 0), 0);
    EXPECT_EQ(interruptRule(Scramble, 0), z80AnswerNone);
    latch = 4;
    EXPECT_EQ(interruptRule(ShaolinsRoad, 0), m6809AnswerIrq);
    board().io = BoardIo{};
}

// Tank's board answers every slice, whatever its latch says: an NMI while Ctrl is held, else an IRQ.
TEST(InterruptRules, TankTakesAnNmiOnlyWhileCtrlIsHeld)
{
    uint8_t latch = 0;
    board().io.interruptEnable = &latch;
    board().io.pollInput = fakePoll;
    const struct {
        uint32_t held;
        int32_t answer;
    } cases[] = {
        {0, m6502AnswerIrq},
        {InputCtrl, m6502AnswerNmi},
        {InputCtrl | InputUp | InputShift, m6502AnswerNmi},
        {InputShift | InputSpace | InputPadDecimal, m6502AnswerIrq},
    };
    for (const auto& c : cases) {
        heldInputs = c.held;
        EXPECT_EQ(interruptRule(Tank, 0), c.answer) << "held 0x" << std::hex << c.held;
        EXPECT_EQ(interruptRule(Vanguard, 0), m6502AnswerIrq);
    }
    // Without an input poll (no window yet) nothing counts as held.
    board().io.pollInput = nullptr;
    EXPECT_EQ(interruptRule(Tank, 0), m6502AnswerIrq);
    heldInputs = 0;
    board().io = BoardIo{};
}

} // namespace
} // namespace vortastr::test
