// The cpucheck adapter: which vectors it passes over, how it compares a case, how it treats a
// malformed one, and its program machine.
#include "cpu_check_adapter.h"

#include <gtest/gtest.h>

namespace vortastr::cpucheck {
namespace {

nlohmann::json lda(int finalA)
{
    return nlohmann::json::parse(R"({"name": "a9", "initial": {"pc": 512, "s": 255, "a": 0, "x": 0, "y": 0,
        "p": 32, "ram": [[512, 169], [513, 128]]}, "final": {"pc": 514, "s": 255, "a": )" +
                                 std::to_string(finalA) + R"(, "x": 0, "y": 0, "p": 160, "ram": [[513, 128]]}})");
}

TEST(M6502CheckAdapter, PassesOverUndocumentedOpcodesAndPageEndIndirectJumps)
{
    auto adapter = makeAdapter("6502");
    ASSERT_NE(adapter, nullptr);
    nlohmann::json plain = lda(0x80);
    EXPECT_TRUE(adapter->skipReason("02", plain));
    EXPECT_TRUE(adapter->skipReason("FF", plain));
    EXPECT_FALSE(adapter->skipReason("a9", plain));
    nlohmann::json jump = nlohmann::json::parse(R"({"initial": {"pc": 16, "ram": [[16, 108], [17, 255], [18, 64]]}})");
    EXPECT_TRUE(adapter->skipReason("6c", jump));
    jump["initial"]["ram"][1][1] = 0xFE;
    EXPECT_FALSE(adapter->skipReason("6c", jump));
    EXPECT_EQ(adapter->skipList().size(), 2u);
}

TEST(M6502CheckAdapter, ComparesRegistersAndRam)
{
    auto adapter = makeAdapter("6502");
    EXPECT_TRUE(adapter->runCase("a9", lda(0x80)).passed());
    CaseResult wrong = adapter->runCase("a9", lda(0x81));
    ASSERT_EQ(wrong.mismatches.size(), 1u);
    EXPECT_EQ(wrong.mismatches[0], "a: expected 0x81, got 0x80");
}

TEST(M6502CheckAdapter, MalformedCasesFailWithAReason)
{
    auto adapter = makeAdapter("6502");
    nlohmann::json missing = lda(0x80);
    missing["initial"].erase("s");
    nlohmann::json tooBig = lda(0x80);
    tooBig["initial"]["ram"][0][0] = 0x10000;
    nlohmann::json negative = lda(0x80);
    negative["final"]["a"] = -1;
    for (const auto& bad : {missing, tooBig, negative}) {
        CaseResult r = adapter->runCase("a9", bad);
        ASSERT_FALSE(r.passed());
        EXPECT_EQ(r.mismatches[0].rfind("malformed case: ", 0), 0u) << r.mismatches[0];
    }
}

TEST(M6502CheckAdapter, ProgramMachineStartsWhereToldAndSteps)
{
    auto adapter = makeAdapter("6502");
    auto machine = adapter->makeProgramMachine({});
    ASSERT_NE(machine, nullptr);
    ASSERT_EQ(machine->memorySize(), 0x10000u);
    uint8_t* mem = machine->memory();
    mem[0xFFFC] = 0x00;
    mem[0xFFFD] = 0x80;
    mem[0x0400] = 0xE8; // INX
    mem[0x0401] = 0x4C; // JMP $0401
    mem[0x0402] = 0x01;
    mem[0x0403] = 0x04;
    machine->start(std::nullopt);
    EXPECT_EQ(machine->programCounter(), 0x8000u);
    machine->start(0x0400);
    EXPECT_EQ(machine->programCounter(), 0x0400u);
    machine->step();
    EXPECT_EQ(machine->programCounter(), 0x0401u);
    machine->step();
    EXPECT_EQ(machine->programCounter(), 0x0401u);
    EXPECT_FALSE(machine->halted());
}

} // namespace
} // namespace vortastr::cpucheck
