// Interrupt entry, masks, the S = 0 rule for NMI, CWAI and SYNC, software interrupts and RTI.
#include "m6809_test_machine.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vortastr;
using vortastr::test::M6809TestMachine;

namespace {

constexpr uint16_t irqHandler = 0x3000, firqHandler = 0x3100, nmiHandler = 0x3200, swiHandler = 0x3300,
                   swi2Handler = 0x3400, swi3Handler = 0x3500, resetEntry = 0x0100;

class M6809Interrupts : public ::testing::Test {
protected:
    void SetUp() override
    {
        m.setWord(0xFFF8, irqHandler);
        m.setWord(0xFFF6, firqHandler);
        m.setWord(0xFFFC, nmiHandler);
        m.setWord(0xFFFA, swiHandler);
        m.setWord(0xFFF4, swi2Handler);
        m.setWord(0xFFF2, swi3Handler);
        m.setWord(0xFFFE, resetEntry);
        for (uint16_t at : {irqHandler, firqHandler, nmiHandler, swiHandler, swi2Handler, swi3Handler, resetEntry})
            m.load(at, {0x20, 0xFE});                         // BRA *
        m.load(0x1000, {0x12, 0x12, 0x12, 0x12, 0x20, 0xFA}); // NOPs, BRA back
        m.start(0x1000);
        m.regs().s = 0x8000;
        m.regs().cc = 0x00; // nothing masked
    }
    M6809TestMachine m;
};

TEST_F(M6809Interrupts, NmiWaitsWhileSIsZeroButFirqAndIrqAreStillConsidered)
{
    // Pushes from S = 0 land in page 0xFF; keep them off the vectors, which are read from the
    // data image whatever the page tables say.
    std::vector<uint8_t> scratch(256);
    m.regs().writePage[0xFF] = scratch.data();
    m.regs().s = 0;
    m.regs().pendingInterrupts = m6809NmiBit | m6809IrqBit;
    m.cpu().execute(1);
    EXPECT_EQ(m.regs().pc, irqHandler);

    m.start(0x1000);
    m.regs().writePage[0xFF] = scratch.data();
    m.regs().s = 0;
    m.regs().cc = 0x50; // FIRQ and IRQ masked: nothing is eligible, the program runs
    m.regs().pendingInterrupts = m6809NmiBit | m6809IrqBit | m6809FirqBit;
    m.cpu().execute(1);
    EXPECT_EQ(m.regs().pc, 0x1001);

    m.regs().s = 0x8000; // once S is set up, NMI is taken despite the masks
    m.cpu().counter = 0;
    EXPECT_EQ(m.cpu().execute(1), 1 - 19);
    EXPECT_EQ(m.regs().pc, nmiHandler);
    EXPECT_EQ(m.regs().s, 0x8000 - 12);
    EXPECT_EQ(m.regs().cc & 0xD0, 0xD0) << "E, F and I set";
    EXPECT_EQ(m.word(0x8000 - 2), 0x1001) << "PC pushed first";
}

TEST_F(M6809Interrupts, FirqDuringAnIrqHandlerIsTakenAtOnce)
{
    m.regs().pendingInterrupts = m6809IrqBit;
    EXPECT_EQ(m.cpu().execute(1), 1 - 19);
    EXPECT_EQ(m.regs().pc, irqHandler);
    EXPECT_EQ(m.regs().cc & 0x50, 0x10) << "IRQ entry sets I only";
    m.regs().pendingInterrupts = m6809FirqBit; // the board acknowledged the IRQ and raised FIRQ
    m.cpu().counter = 0;
    EXPECT_EQ(m.cpu().execute(1), 1 - 10);
    EXPECT_EQ(m.regs().pc, firqHandler);
    EXPECT_EQ(m.regs().s, 0x8000 - 12 - 3);
}

TEST_F(M6809Interrupts, FirqPushesOnlyPcAndCcAndItsRtiPullsOnlyThem)
{
    m.load(firqHandler, {0x3B}); // RTI
    m.regs().cc = 0x80 | 0x01;   // E and C set before the interrupt
    m.regs().pendingInterrupts = m6809FirqBit;
    m.cpu().execute(1);
    EXPECT_EQ(m.regs().s, 0x8000 - 3);
    EXPECT_EQ(m.data()[0x8000 - 3], 0x01) << "E cleared in the pushed CC";
    EXPECT_EQ(m.word(0x8000 - 2), 0x1000);
    m.regs().pendingInterrupts = 0;
    EXPECT_EQ(m.cyclesOf(firqHandler), 6);
    EXPECT_EQ(m.regs().pc, 0x1000);
    EXPECT_EQ(m.regs().s, 0x8000);
    EXPECT_EQ(m.regs().cc, 0x01);
}

TEST_F(M6809Interrupts, RtiAfterIrqPullsTheEntireState)
{
    m.load(irqHandler, {0x3B});
    m.regs().a = 0x11;
    m.regs().b = 0x22;
    m.regs().dp = 0x33;
    m.regs().x = 0x4444;
    m.regs().y = 0x5555;
    m.regs().u = 0x6666;
    m.regs().pendingInterrupts = m6809IrqBit;
    m.cpu().execute(1);
    m.regs().pendingInterrupts = 0;
    m.regs().a = m.regs().b = m.regs().dp = 0;
    m.regs().x = m.regs().y = m.regs().u = 0;
    EXPECT_EQ(m.cyclesOf(irqHandler), 15);
    EXPECT_EQ(m.regs().a, 0x11);
    EXPECT_EQ(m.regs().b, 0x22);
    EXPECT_EQ(m.regs().dp, 0x33);
    EXPECT_EQ(m.regs().x, 0x4444);
    EXPECT_EQ(m.regs().y, 0x5555);
    EXPECT_EQ(m.regs().u, 0x6666);
    EXPECT_EQ(m.regs().pc, 0x1000);
    EXPECT_EQ(m.regs().s, 0x8000);
}

TEST_F(M6809Interrupts, CwaiKeepsItsBudgetUntilAnUnmaskedInterruptComes)
{
    m.load(0x1000, {0x3C, 0xEF}); // CWAI #$EF: clears I, keeps F as it is
    m.regs().cc = 0x50;
    EXPECT_EQ(m.cpu().execute(100), 100 - 21);
    EXPECT_EQ(m.regs().s, 0x8000 - 12) << "the entire state is pushed once";
    EXPECT_EQ(m.data()[0x8000 - 12] & 0x80, 0x80) << "with E set";
    m.regs().pendingInterrupts = m6809FirqBit; // still masked by F
    EXPECT_EQ(m.cpu().execute(100), 179);
    EXPECT_EQ(m.cpu().execute(100), 279);
    EXPECT_EQ(m.regs().pc, 0x1002);

    m.regs().pendingInterrupts = m6809IrqBit;
    // The wake-up pushes nothing more; BRA * runs the whole 379 cycles (3 each).
    EXPECT_EQ(m.cpu().execute(100), 379 - 3 * (379 / 3 + 1));
    EXPECT_EQ(m.regs().pc, irqHandler);
    EXPECT_EQ(m.regs().s, 0x8000 - 12);
    EXPECT_FALSE(m.regs().waiting);
}

TEST_F(M6809Interrupts, SyncBurnsTheSliceUntilAnyBitIsPending)
{
    m.load(0x1000, {0x13, 0x12});            // SYNC, NOP
    EXPECT_EQ(m.cpu().execute(10), 10 - 12); // passes of 3 until negative
    EXPECT_EQ(m.regs().pc, 0x1001) << "the next slice goes on after SYNC";

    m.regs().pc = 0x1000;
    m.regs().cc = 0x50;
    m.regs().pendingInterrupts = m6809IrqBit; // masked, but it still ends SYNC
    m.cpu().counter = 0;
    EXPECT_EQ(m.cpu().execute(4), 4 - 3 - 2) << "one pass of SYNC, then the NOP";
    EXPECT_EQ(m.regs().pc, 0x1002);

    // A run of SYNCs with a bit pending still uses the budget.
    for (uint16_t a = 0; a < 0x100; ++a)
        m.load(uint16_t(0x2000 + a), {0x13});
    m.regs().pc = 0x2000;
    m.cpu().counter = 0;
    EXPECT_EQ(m.cpu().execute(30), -3);
    EXPECT_EQ(m.regs().pc, 0x2000 + 11);
}

TEST_F(M6809Interrupts, SoftwareInterruptsPushEverythingAndSetMasksOnlyForSwi)
{
    struct Case {
        uint8_t prefix; // 0: none
        uint16_t handler;
        int32_t cycles;
        uint8_t masks;
    };
    const Case cases[] = {{0x00, swiHandler, 19, 0x50}, {0x10, swi2Handler, 20, 0x00}, {0x11, swi3Handler, 20, 0x00}};
    for (const Case& c : cases) {
        if (c.prefix)
            m.load(0x2000, {c.prefix, 0x3F});
        else
            m.load(0x2000, {0x3F});
        m.regs().s = 0x8000;
        m.regs().cc = 0x00;
        EXPECT_EQ(m.cyclesOf(0x2000), c.cycles);
        EXPECT_EQ(m.regs().pc, c.handler);
        EXPECT_EQ(m.regs().cc & 0xD0, 0x80 | c.masks);
        EXPECT_EQ(m.regs().s, 0x8000 - 12);
        EXPECT_EQ(m.word(0x8000 - 2), c.prefix ? 0x2002 : 0x2001);
    }
}

TEST_F(M6809Interrupts, ResetKeepsPendingBitsWhichStayMasked)
{
    m.regs().pendingInterrupts = m6809IrqBit | m6809FirqBit | 0x100;
    m.cpu().reset(m.data(), m.data() + m6809OpcodeImage);
    EXPECT_EQ(m.regs().pendingInterrupts, m6809IrqBit | m6809FirqBit | 0x100);
    EXPECT_EQ(m.regs().cc, 0x50);
    EXPECT_EQ(m.regs().pc, resetEntry);
    m.cpu().execute(1);
    EXPECT_EQ(m.regs().pc, resetEntry) << "BRA * at the reset entry, no interrupt taken";
    EXPECT_EQ(m.regs().pendingInterrupts, m6809IrqBit | m6809FirqBit) << "unknown bits are dropped";
}

TEST_F(M6809Interrupts, AcknowledgeByAHandlerTakesEffectBeforeTheNextInstruction)
{
    static M6809Engine* engine = nullptr;
    engine = &m.cpu();
    auto acknowledge = [](uint8_t, uint16_t) -> uint8_t* {
        engine->state.pendingInterrupts = 0;
        return engine->memoryBase;
    };
    m6809MapHandlers(m.context, 0x60, 0x60, nullptr, acknowledge);
    m.load(irqHandler, {0xB7, 0x60, 0x00, 0x1C, 0xEF, 0x12, 0x12}); // STA $6000, ANDCC #$EF, NOPs
    m.start(0x1000);
    m.regs().s = 0x8000;
    m.regs().cc = 0x00;
    m.regs().pendingInterrupts = m6809IrqBit;
    m.cpu().execute(19 + 5 + 3 + 2 - 1);
    EXPECT_EQ(m.regs().pc, irqHandler + 6) << "no second IRQ entry after the acknowledge";
    EXPECT_EQ(m.regs().s, 0x8000 - 12);
}

} // namespace
