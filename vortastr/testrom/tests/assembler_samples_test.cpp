// Each assembler path of the kit: the sample assembled at build time runs on our engine to its
// stop and leaves the numbers the test computes here.
#include "cpucheck_runner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <unistd.h>

namespace {

struct Sample {
    const char* cpu;
    const char* binary;
    const char* load;
    const char* trap;
    const char* dump; // 16 bytes
    std::function<uint8_t(int)> expected;
};

int fibonacci(int i)
{
    int a = 1, b = 1;
    for (int k = 0; k < i; ++k) {
        const int next = (a + b) & 0xFF;
        a = b;
        b = next;
    }
    return a;
}

class AssemblerSample : public ::testing::TestWithParam<Sample> {};

TEST_P(AssemblerSample, RunsToItsStopWithTheExpectedResults)
{
    const Sample& s = GetParam();
    const std::filesystem::path binary = std::filesystem::path(TESTROM_SAMPLE_DIR) / s.binary;
    ASSERT_TRUE(std::filesystem::exists(binary)) << binary;
    const std::filesystem::path dump = std::filesystem::temp_directory_path() /
                                       ("testrom-sample-" + std::to_string(::getpid()) + "-" + s.cpu + ".bin");
    std::ostringstream out, err;
    const int status = vortastr::cpucheck::runCpuCheck({"--cpu", s.cpu, "--program", binary.string(), "--load", s.load,
                                                        "--start", s.load, "--trap", s.trap, "--max-steps", "100000",
                                                        "--dump", std::string(s.dump) + ":16", dump.string()},
                                                       out, err);
    EXPECT_EQ(status, 0) << out.str() << err.str();
    std::ifstream in(dump, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    in.close();
    std::filesystem::remove(dump);
    ASSERT_EQ(bytes.size(), 16u);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(bytes[std::size_t(i)], s.expected(i)) << s.cpu << " byte " << i;
}

INSTANTIATE_TEST_SUITE_P(Assemblers, AssemblerSample,
                         ::testing::Values(Sample{"z80", "sample_z80.bin", "0", "0x0003", "0x8000",
                                                  [](int i) { return uint8_t(i * i); }},
                                           Sample{"v30", "sample_v30.bin", "0", "0x0002", "0x0800",
                                                  [](int i) { return uint8_t(20 * i + 7); }},
                                           Sample{"6502", "sample_6502.bin", "0x0200", "0x0203", "0x0300",
                                                  [](int i) { return uint8_t(fibonacci(i)); }}),
                         [](const auto& info) { return std::string("cpu_") + info.param.cpu; });

} // namespace
