// The 6809 adapter in the conformance runner: a corrupted vector is reported, the per-case
// skips pick exactly the cases this engine differs on, and the program mode traps.
#include "cpucheck_runner.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "vector_file.h"

using namespace vortastr::cpucheck;
namespace fs = std::filesystem;

namespace {

const fs::path vectors = fs::path(SUITE_TESTDATA_DIR) / "cpu" / "m6809";

class M6809CpuCheck : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("m6809_cpucheck_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    int run(const std::vector<std::string>& args)
    {
        out.str("");
        err.str("");
        return runCpuCheck(args, out, err);
    }

    nlohmann::json load(const std::string& stem)
    {
        nlohmann::json cases;
        std::string error;
        EXPECT_TRUE(loadVectorFile(vectors / (stem + ".json.gz"), cases, error)) << error;
        return cases;
    }

    void write(const std::string& name, const nlohmann::json& cases) { std::ofstream(dir / name) << cases.dump(); }

    fs::path dir;
    std::ostringstream out, err;
};

TEST_F(M6809CpuCheck, ACorruptedVectorIsReportedAsAFailure)
{
    nlohmann::json cases = load("86"); // LDA immediate
    ASSERT_GE(cases.size(), 2u);
    write("86.json", cases);
    EXPECT_EQ(run({"--cpu", "6809", (dir / "86.json").string()}), 0) << out.str();

    cases[1]["final"]["a"] = (cases[1]["final"]["a"].get<int>() + 1) & 0xFF;
    write("86.json", cases);
    EXPECT_EQ(run({"--cpu", "6809", "--verbose", (dir / "86.json").string()}), 1);
    EXPECT_NE(out.str().find(std::to_string(cases.size() - 1) + " passed, 1 failed\n"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("a: expected"), std::string::npos);
}

TEST_F(M6809CpuCheck, CorruptedRamIsReportedToo)
{
    nlohmann::json cases = load("a7"); // STA indexed
    nlohmann::json& ram = cases[0]["final"]["ram"];
    ram[ram.size() - 1][1] = (ram[ram.size() - 1][1].get<int>() ^ 0x01);
    write("a7.json", nlohmann::json::array({cases[0]}));
    EXPECT_EQ(run({"--cpu", "6809", "--no-skip", "--verbose", (dir / "a7.json").string()}), 1);
    EXPECT_NE(out.str().find("ram["), std::string::npos) << out.str();
}

TEST_F(M6809CpuCheck, MalformedCasesFailWithoutStoppingTheRun)
{
    nlohmann::json cases = load("86");
    cases[0].erase("final");
    cases[1]["initial"]["a"] = "forty";
    cases[2]["initial"]["ram"] = 5;
    write("86.json", cases);
    EXPECT_EQ(run({"--cpu", "6809", "--verbose", (dir / "86.json").string()}), 1);
    EXPECT_NE(out.str().find(std::to_string(cases.size() - 3) + " passed, 3 failed"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("malformed case"), std::string::npos);
}

TEST_F(M6809CpuCheck, PerCaseSkipsFollowThePostByte)
{
    // TFR: a legal transfer runs, a mixed-size one is passed over.
    nlohmann::json tfr = load("1f")[0];
    const unsigned pc = tfr["initial"]["pc"].get<unsigned>();
    auto setPostByte = [&](nlohmann::json& c, unsigned at, unsigned value) {
        for (auto* side : {&c["initial"]["ram"], &c["final"]["ram"]})
            for (auto& cell : *side)
                if (cell[0].get<unsigned>() == at)
                    cell[1] = value;
    };
    nlohmann::json legal = tfr, mixed = tfr;
    setPostByte(legal, pc + 1, 0x89); // A -> B
    legal["final"]["b"] = legal["initial"]["a"];
    legal["final"]["x"] = legal["initial"]["x"];
    setPostByte(mixed, pc + 1, 0x81); // A -> X
    write("1f.json", nlohmann::json::array({legal, mixed}));
    EXPECT_EQ(run({"--cpu", "6809", (dir / "1f.json").string()}), 0) << out.str();
    EXPECT_NE(out.str().find("1f: 1 passed, 0 failed, 1 skipped"), std::string::npos) << out.str();
}

TEST_F(M6809CpuCheck, ListSkipsGivesEveryEntryAReason)
{
    EXPECT_EQ(run({"--cpu", "6809", "--list-skips"}), 0);
    for (const char* expected :
         {"01 02 05 0b", "10 xx except 21", "11 xx except 3f", "3e:", "SYNC", "CWAI", "post-bytes 87 8a", "1e, 1f"})
        EXPECT_NE(out.str().find(expected), std::string::npos) << expected;
}

TEST_F(M6809CpuCheck, ProgramRunsFromTheResetVectorToItsTrap)
{
    // Sums 1..10 into $0200, then loops on itself at 0x0110.
    std::vector<uint8_t> image(0x10000, 0);
    const uint8_t program[] = {
        0x10, 0xCE, 0x80, 0x00, // 0100 LDS #$8000
        0x4F,                   // 0104 CLRA
        0xC6, 0x0A,             // 0105 LDB #10
        0x34, 0x04,             // 0107 PSHS B
        0xAB, 0xE0,             // 0109 ADDA ,S+
        0x5A,                   // 010B DECB
        0x26, 0xF9,             // 010C BNE $0107
        0x20, 0x00,             // 010E BRA $0110
        0xB7, 0x02, 0x00,       // 0110 STA $0200 ... then trap
        0x20, 0xFE,             // 0113 BRA *
    };
    std::copy(std::begin(program), std::end(program), image.begin() + 0x100);
    image[0xFFFE] = 0x01;
    image[0xFFFF] = 0x00;
    std::ofstream(dir / "sum.bin", std::ios::binary).write(reinterpret_cast<const char*>(image.data()), image.size());
    const std::string dump = (dir / "dump.bin").string();
    EXPECT_EQ(run({"--cpu", "6809", "--program", (dir / "sum.bin").string(), "--load", "0", "--trap", "0x0113",
                   "--dump", "0x200:1", dump}),
              0)
        << out.str() << err.str();
    EXPECT_NE(out.str().find("trapped at 0x0113"), std::string::npos) << out.str();
    std::ifstream in(dump, std::ios::binary);
    EXPECT_EQ(in.get(), 55);

    EXPECT_EQ(run({"--cpu", "6809", "--program", (dir / "sum.bin").string(), "--load", "0", "--trap", "0x0110"}), 1);
}

} // namespace
