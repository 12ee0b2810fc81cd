// The runner with a toy processor: one register `a`, opcode 0x01 increments it, 0x02 jumps
// to itself, anything else is skipped by name. Enough to see counting, skipping, corrupted
// vectors failing and the program mode's trap detection.
#include "cpucheck_runner.h"

#include "cpu_check_adapter.h"
#include "vector_file.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <sstream>

using namespace vortastr::cpucheck;

namespace {

class ToyMachine : public ProgramMachine {
public:
    uint8_t* memory() override { return ram; }
    std::size_t memorySize() const override { return sizeof ram; }
    void start(std::optional<uint32_t> at) override { pc = at.value_or(0); }
    void step() override
    {
        uint8_t op = ram[pc];
        if (op == 0x01) {
            ++ram[0xFF];
            pc = (pc + 1) & 0xFF;
        } else if (op == 0x03) {
            stopped = true;
        }
        // 0x02 and everything else: jump to self
    }
    uint32_t programCounter() const override { return pc; }
    bool halted() const override { return stopped; }

    uint8_t ram[256] = {};
    uint32_t pc = 0;
    bool stopped = false;
};

class ToyAdapter : public CpuCheckAdapter {
public:
    std::vector<SkipEntry> skipList() const override { return {{"ff", "toy opcode never implemented"}}; }
    std::optional<std::string> skipReason(std::string_view stem, const nlohmann::json&) const override
    {
        if (stem == "ff")
            return std::string("toy opcode never implemented");
        return std::nullopt;
    }
    CaseResult runCase(std::string_view, const nlohmann::json& c) override
    {
        CaseResult r;
        int a = c["initial"]["a"].get<int>() + 1;
        r.compare("a", c["final"]["a"].get<int>(), a);
        return r;
    }
    std::unique_ptr<ProgramMachine> makeProgramMachine(const ProgramOptions&) override
    {
        return std::make_unique<ToyMachine>();
    }
};

REGISTER_CPU_CHECK_ADAPTER("toy", ToyAdapter);

class CpuCheckRunner : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = std::filesystem::temp_directory_path() /
              ("cpucheck_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    void writeGz(const std::string& name, const std::string& text)
    {
        gzFile f = gzopen((dir / name).string().c_str(), "wb");
        gzwrite(f, text.data(), static_cast<unsigned>(text.size()));
        gzclose(f);
    }
    int run(std::vector<std::string> args)
    {
        out.str({});
        err.str({});
        return runCpuCheck(args, out, err);
    }

    std::filesystem::path dir;
    std::ostringstream out, err;
};

const char* twoGoodCases = R"([{"name":"x","initial":{"a":1},"final":{"a":2}},
                               {"name":"y","initial":{"a":7},"final":{"a":8}}])";

} // namespace

TEST_F(CpuCheckRunner, CountsPassesFailuresAndSkipsPerFileAndInTotal)
{
    writeGz("01.json.gz", twoGoodCases);
    writeGz("02.json.gz", R"([{"name":"bad","initial":{"a":1},"final":{"a":5}}])");
    writeGz("ff.json.gz", twoGoodCases);
    std::ofstream(dir / "metadata.json") << "{}";

    EXPECT_EQ(run({"--cpu", "toy", dir.string()}), 1);
    EXPECT_NE(out.str().find("01: 2 passed, 0 failed\n"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("02: 0 passed, 1 failed\n"), std::string::npos);
    EXPECT_NE(out.str().find("ff: 0 passed, 0 failed, 2 skipped\n"), std::string::npos);
    EXPECT_NE(out.str().find("\n2 passed, 1 failed, 2 skipped\n"), std::string::npos);
    EXPECT_EQ(out.str().find("metadata"), std::string::npos);
}

TEST_F(CpuCheckRunner, NoSkipRunsListedCasesAndVerboseNamesTheMismatch)
{
    writeGz("02.json.gz", R"([{"name":"bad","initial":{"a":1},"final":{"a":5}}])");
    writeGz("ff.json.gz", twoGoodCases);
    EXPECT_EQ(run({"--cpu", "toy", "--no-skip", "--verbose", dir.string()}), 1);
    EXPECT_NE(out.str().find("2 passed, 1 failed\n"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("case \"bad\""), std::string::npos);
    EXPECT_NE(out.str().find("a: expected 0x5, got 0x2"), std::string::npos);
}

TEST_F(CpuCheckRunner, AllPassingSingleFileExitsZero)
{
    writeGz("01.json.gz", twoGoodCases);
    EXPECT_EQ(run({"--cpu", "toy", (dir / "01.json.gz").string()}), 0);
    EXPECT_EQ(out.str(), "01: 2 passed, 0 failed\n2 passed, 0 failed\n");
}

TEST_F(CpuCheckRunner, BrokenFilesAndBadUsageAreReported)
{
    std::ofstream(dir / "01.json") << "[{not json";
    EXPECT_EQ(run({"--cpu", "toy", dir.string()}), 1);
    EXPECT_NE(err.str().find("not a JSON array"), std::string::npos);
    EXPECT_EQ(run({"--cpu", "toy", (dir / "missing").string()}), 1);
    EXPECT_EQ(run({"--cpu", "nosuch", dir.string()}), 2);
    EXPECT_EQ(run({"--cpu", "toy"}), 2);
    EXPECT_EQ(run({"--cpu", "toy", "--load", "0xZZ", dir.string()}), 2);
    EXPECT_EQ(run({"--cpu", "toy", "--list-skips"}), 0);
    EXPECT_EQ(out.str(), "ff: toy opcode never implemented\n");
}

TEST_F(CpuCheckRunner, ProgramModeReportsTheTrapAddressAndDumps)
{
    // Three increments then a jump-to-self at 0x13.
    std::ofstream(dir / "prog.bin", std::ios::binary) << std::string("\x01\x01\x01\x02", 4);
    std::string dump = (dir / "out.bin").string();
    EXPECT_EQ(run({"--cpu", "toy", "--program", (dir / "prog.bin").string(), "--load", "0x10", "--start", "$10",
                   "--trap", "0x13", "--dump", "0xFF:1", dump}),
              0);
    EXPECT_EQ(out.str(), "trapped at 0x0013\n");
    std::ifstream in(dump, std::ios::binary);
    EXPECT_EQ(in.get(), 3);

    EXPECT_EQ(run({"--cpu", "toy", "--program", (dir / "prog.bin").string(), "--load", "0x10", "--start", "0x10",
                   "--trap", "0x20"}),
              1);
    EXPECT_EQ(run({"--cpu", "toy", "--program", (dir / "prog.bin").string(), "--load", "0xFE"}), 1);
    EXPECT_NE(err.str().find("does not fit"), std::string::npos);
}

TEST(CpuCheckAddresses, ParseHexWithPrefixesAndDecimalWithout)
{
    struct Row {
        const char* text;
        bool ok;
        uint32_t value;
    } rows[] = {
        {"0x1F", true, 0x1F}, {"$f0000", true, 0xF0000}, {"31", true, 31},          {"1f", false, 0},
        {"", false, 0},       {"0x", false, 0},          {"0x100000000", false, 0},
    };
    for (const auto& row : rows) {
        uint32_t v = 0;
        EXPECT_EQ(parseAddress(row.text, v), row.ok) << row.text;
        if (row.ok) {
            EXPECT_EQ(v, row.value) << row.text;
        }
    }
}

TEST(CpuCheckAddresses, CountsAreSixtyFourBitAndSegmentOffsetIsHex)
{
    struct CountRow {
        const char* text;
        bool ok;
        uint64_t value;
    } counts[] = {
        {"5000000000", true, 5'000'000'000ull},
        {"0xFFFFFFFFFFFFFFFF", true, UINT64_MAX},
        {"18446744073709551616", false, 0},
        {"-1", false, 0},
        {"", false, 0},
    };
    for (const auto& row : counts) {
        uint64_t v = 0;
        EXPECT_EQ(parseCount(row.text, v), row.ok) << row.text;
        if (row.ok) {
            EXPECT_EQ(v, row.value) << row.text;
        }
    }
    struct SegRow {
        const char* text;
        bool ok;
        uint16_t segment, offset;
    } segs[] = {
        {"F000:FFF0", true, 0xF000, 0xFFF0},
        {"0:100", true, 0, 0x100},
        {"f000:fff0", true, 0xF000, 0xFFF0},
        {"10000:0", false, 0, 0},
        {"F000:", false, 0, 0},
        {":FFF0", false, 0, 0},
        {"0xF0000", false, 0, 0},
        {"F000:FFFG", false, 0, 0},
    };
    for (const auto& row : segs) {
        uint16_t s = 0, o = 0;
        EXPECT_EQ(parseSegmentOffset(row.text, s, o), row.ok) << row.text;
        if (row.ok) {
            EXPECT_EQ(s, row.segment) << row.text;
            EXPECT_EQ(o, row.offset) << row.text;
        }
    }
}

TEST_F(CpuCheckRunner, MaxStepsTakesMoreThanThirtyTwoBitsAndSegmentedStartNeedsSegments)
{
    std::ofstream(dir / "prog.bin", std::ios::binary) << std::string("\x01\x02", 2);
    const std::string prog = (dir / "prog.bin").string();
    EXPECT_EQ(run({"--cpu", "toy", "--program", prog, "--trap", "1", "--max-steps", "5000000000"}), 0) << err.str();
    EXPECT_EQ(run({"--cpu", "toy", "--program", prog, "--max-steps", "99999999999999999999"}), 2);
    EXPECT_EQ(run({"--cpu", "toy", "--program", prog, "--start", "F000:FFF0"}), 2);
    EXPECT_NE(err.str().find("SEG:OFF is only for a processor with segments"), std::string::npos) << err.str();
}
