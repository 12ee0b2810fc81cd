// The program itself, headless, on ROM folders with things in a program ROM's place that are
// not files, and with damaged archives: the message, status 1, and no waiting.
#include "tests/game_fixtures.h"
#include "tests/zip_writer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <sys/stat.h>
#include <sys/wait.h>

namespace vortastr::test {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status = -1;
    std::string err;
    std::chrono::milliseconds took{};
};

// Runs the emulator on the ROM folder for a few frames; `timeout` ends it should it hang.
CliRun runHeadless(const TempFolder& roms)
{
    const fs::path errFile = roms.path() / "stderr.txt";
    const std::string command = std::string("timeout 10 ") + VORTASTR_BINARY + " JN --headless --unpaced --frames 5" +
                                " --config " + (roms.path() / "test.ini").string() + " --rompath " + roms.str() +
                                " >/dev/null 2>" + errFile.string();
    CliRun run;
    const auto start = std::chrono::steady_clock::now();
    const int raw = std::system(command.c_str());
    run.took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    const auto bytes = readBytes(errFile);
    run.err.assign(bytes.begin(), bytes.end());
    return run;
}

TEST(HeadlessRomSources, NotAFileInAProgramRomsPlaceEndsTheRunAtOnce)
{
    const struct {
        const char* what;
        void (*make)(const fs::path&);
        const char* reason;
    } cases[] = {
        {"fifo", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, "is a FIFO, not a file"},
        {"folder", [](const fs::path& p) { fs::create_directories(p); }, "is a folder, not a file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder roms;
        writeTestRomSet(roms);
        const fs::path rom = roms.path() / "vorta" / "VSA_B9.BIN";
        fs::remove(rom);
        c.make(rom);
        const CliRun run = runHeadless(roms);
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_LT(run.took, std::chrono::seconds(1));
        EXPECT_NE(run.err.find("vortastr: \"vorta/VSA_B9.BIN\": " + std::string(c.reason) + "\n"), std::string::npos)
            << run.err;
        EXPECT_NE(run.err.find("Couldn't open \"vorta/VSA_B9.BIN\"."), std::string::npos);
        EXPECT_NE(run.err.find("ERROR - Can't find Game ROMs"), std::string::npos);
    }
}

TEST(HeadlessRomSources, ADamagedArchiveEndsTheRunWithTheMessage)
{
    TempFolder roms;
    writeFile(roms.path() / "vorta.zip", std::vector<uint8_t>(1000, 0x50));
    const CliRun run = runHeadless(roms);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Couldn't open \"vorta/VSA_B9.BIN\" in \"vorta.zip\"."), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("not a readable zip archive"), std::string::npos);
}

TEST(HeadlessRomSources, AShortProgramRomRunsWithOneWarning)
{
    TempFolder roms;
    writeTestRomSet(roms);
    const fs::path rom = roms.path() / "vorta" / "VSS5_E7.BIN";
    fs::resize_file(rom, 1000);
    const CliRun run = runHeadless(roms);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "vortastr: warning: \"vorta/VSS5_E7.BIN\" holds 1000 bytes, 8192 expected\n");
}

} // namespace
} // namespace vortastr::test
