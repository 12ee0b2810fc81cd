// The audit of the ROM sets: the expected files follow the ROM tables, and generated sets in
// every state (complete, a file missing, a file short, zipped) get the right verdicts.
#include "boards/rom_audit.h"
#include "boards/rom_files.h"
#include "boards/rom_sets.h"
#include "shell/audit_command.h"
#include "tests/game_fixtures.h"
#include "tests/zip_writer.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

namespace vortastr::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> namesOf(const std::vector<ExpectedRomFile>& files)
{
    std::vector<std::string> names;
    for (const auto& f : files)
        names.push_back(f.name);
    return names;
}

TEST(ExpectedRomFiles, FollowTheTablesOnceEachWithTheLargestSize)
{
    const auto vorta = expectedRomFiles(VortaStrike);
    ASSERT_EQ(vorta.size(), 12u); // three program ROMs, nine bank and blitter ROMs
    EXPECT_EQ(vorta.front().name, "vorta\\VSA_B9.BIN");
    EXPECT_EQ(vorta.back().name, "vorta\\VSS5_E7.BIN");
    for (const auto& f : vorta)
        EXPECT_EQ(f.size, 8192u) << f.name;

    // Tutankham's first program ROM is also the first bank: listed once.
    const auto tutankham = namesOf(expectedRomFiles(Tutankham));
    EXPECT_EQ(std::count(tutankham.begin(), tutankham.end(), "tutankhm\\ra1_1i.cpu"), 1);
    EXPECT_EQ(tutankham.size(), 15u); // seven program ROMs, nine banks

    // NZ Story's sound ROM is read as 64 KB of program and as the whole 128 KB sound buffer.
    for (const auto& f : expectedRomFiles(NewZealandStory)) {
        if (f.name == "NZSTORY\\NZSB5310.BIN") {
            EXPECT_EQ(f.size, 131072u);
        }
    }
}

TEST(ExpectedRomFiles, AlternativeSetsAreChosenAsTheLoaderChooses)
{
    const auto usual = namesOf(expectedRomFiles(RType, [](const std::string&) { return true; }));
    const auto other = namesOf(expectedRomFiles(RType, [](const std::string&) { return false; }));
    EXPECT_NE(std::find(usual.begin(), usual.end(), "rtype\\cn3_l0.bin"), usual.end());
    EXPECT_NE(std::find(other.begin(), other.end(), "rtype\\aud-l0.bin"), other.end());
    EXPECT_NE(std::find(other.begin(), other.end(), "rtype\\cpu-a0.bin"), other.end());
    EXPECT_EQ(std::find(other.begin(), other.end(), "rtype\\cn3_l0.bin"), other.end());
    EXPECT_EQ(namesOf(expectedRomFiles(RType)), usual);
}

// A ROM folder of generated sets: Vorta Strike complete (the test set), Tutankham with a file
// missing, Track'n'Field with a short file, Hyper Sports complete in an archive.
struct AuditFixture : ::testing::Test {
    TempFolder roms;
    void SetUp() override
    {
        forgetRomArchives();
        writeTestRomSet(roms);
        writeBlankRomSet(roms, Tutankham);
        fs::remove(romFile(roms, "tutankhm\\ra1_5h.cpu"));
        writeBlankRomSet(roms, TrackNField);
        writeFile(romFile(roms, "trackfld\\A02_E02.BIN"), std::vector<uint8_t>(100, 0));
        TempFolder zipped;
        writeBlankRomSet(zipped, HyperSports);
        writeZip(roms.path() / "hyperspt.zip", folderMembers(zipped.path() / "hyperspt"));
    }
    void TearDown() override { forgetRomArchives(); }

    int run(std::vector<std::string> args, std::string& out, std::string& err)
    {
        args.insert(args.begin(), "--audit");
        args.push_back("--rompath=" + roms.str());
        std::ostringstream o, e;
        const int status = runAuditCommand(args, o, e);
        out = o.str();
        err = e.str();
        return status;
    }
};

TEST_F(AuditFixture, EachSetGetsItsVerdict)
{
    const auto audits = auditGames(roms.str(), {VortaStrike, Tutankham, TrackNField, HyperSports});
    ASSERT_EQ(audits.size(), 4u);
    EXPECT_EQ(auditVerdict(audits[0]), "complete");
    EXPECT_EQ(auditVerdict(audits[1]), "1 missing");
    EXPECT_EQ(auditVerdict(audits[2]), "1 wrong size");
    EXPECT_EQ(auditVerdict(audits[3]), "complete");
    for (const auto& f : audits[3].files)
        EXPECT_EQ(placeText(f.where), "hyperspt.zip") << f.expected.name;
    EXPECT_EQ(placeText(audits[0].files[0].where), "folder");
    for (const auto& f : audits[2].files) {
        if (f.status != RomFileStatus::Found) {
            EXPECT_EQ(f.expected.name, "trackfld\\A02_E02.BIN");
            EXPECT_EQ(f.where.size, 100u);
        }
    }
}

TEST_F(AuditFixture, TheCommandPrintsVerdictsAndASummaryAndFailsOnAnIncompleteSet)
{
    std::string out, err;
    EXPECT_EQ(run({"JN", "TK", "TF", "HS"}, out, err), 1);
    EXPECT_TRUE(err.empty());
    EXPECT_NE(out.find("JN  Vorta Strike: complete\n"), std::string::npos) << out;
    EXPECT_NE(out.find("TK  Tutankham: 1 missing\n"), std::string::npos);
    EXPECT_NE(out.find("TF  Track'n'Field: 1 wrong size\n"), std::string::npos);
    EXPECT_NE(out.find("HS  Hyper Sports: complete\n"), std::string::npos);
    EXPECT_NE(out.find("tutankhm/ra1_5h.cpu             4096  missing\n"), std::string::npos);
    EXPECT_NE(out.find("trackfld/A02_E02.BIN            8192  wrong size (100 bytes) in folder\n"), std::string::npos);
    EXPECT_NE(out.find("8192  found in hyperspt.zip\n"), std::string::npos);
    EXPECT_EQ(out.substr(out.rfind('\n', out.size() - 2) + 1), "4 sets: 2 complete, 2 incomplete\n");

    EXPECT_EQ(run({"JN", "HS"}, out, err), 0);
    EXPECT_EQ(run({"XX"}, out, err), 2);
    EXPECT_NE(err.find("unknown game code 'XX'"), std::string::npos);
}

TEST_F(AuditFixture, JsonHoldsTheSameVerdicts)
{
    std::string out, err;
    EXPECT_EQ(run({"TK", "JN", "--json"}, out, err), 1);
    const auto report = nlohmann::json::parse(out);
    ASSERT_EQ(report["games"].size(), 2u);
    EXPECT_EQ(report["games"][0]["code"], "TK");
    EXPECT_EQ(report["games"][0]["verdict"], "1 missing");
    EXPECT_EQ(report["games"][0]["complete"], false);
    EXPECT_EQ(report["games"][1]["verdict"], "complete");
    const auto& file = report["games"][1]["files"][0];
    EXPECT_EQ(file["name"], "vorta/VSA_B9.BIN");
    EXPECT_EQ(file["expectedSize"], 8192);
    EXPECT_EQ(file["status"], "found");
    EXPECT_EQ(file["where"], "folder");
    EXPECT_EQ(report["summary"]["incomplete"], 1);
}

TEST_F(AuditFixture, EveryGameIsAuditedWithoutCodesAndIncompleteSetsSortFirst)
{
    auto audits = auditGames(roms.str());
    EXPECT_EQ(audits.size(), 37u); // every game but the two numbers without a board
    sortAudits(audits, AuditOrder::IncompleteFirst);
    EXPECT_GT(audits.front().missing, 0);
    EXPECT_EQ(auditGameName(audits[audits.size() - 2].game), "Hyper Sports");
    EXPECT_EQ(auditGameName(audits.back().game), "Vorta Strike");
    sortAudits(audits, AuditOrder::ByGame);
    EXPECT_EQ(auditGameName(audits.front().game), "Circus Charlie");
}

} // namespace
} // namespace vortastr::test
