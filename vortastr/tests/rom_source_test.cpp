// ROM sets kept as zip archives, and things in a file's place that are not files.
#include "boards/rom_archive.h"
#include "boards/rom_files.h"
#include "boards/rom_loader.h"
#include "shell/startup.h"
#include "tests/game_fixtures.h"
#include "tests/zip_writer.h"
#include "video/game_palette.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <sys/stat.h>
#include <unistd.h>

namespace vortastr::test {
namespace {

namespace fs = std::filesystem;

std::string lowerCase(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// The loader pointed at a temporary ROM folder, collecting its messages and notes.
struct RomSourceFixture : ::testing::Test {
    TempFolder folder;
    std::vector<std::string> messages, notes;

    void SetUp() override
    {
        forgetRomArchives();
        romFiles().romPath = folder.str();
        romFiles().reportError = [this](const std::string& text) { messages.push_back(text); };
        romFiles().reportNote = [this](const std::string& text) { notes.push_back(text); };
    }
    void TearDown() override
    {
        romFiles() = RomFileContext{};
        forgetRomArchives();
    }
    std::vector<uint8_t> load(const std::string& name, std::size_t size, uint8_t fill = 0xEE)
    {
        std::vector<uint8_t> memory(size, fill);
        EXPECT_EQ(loadRomList(memory, {name}, 0, static_cast<uint32_t>(size)), 0) << name;
        return memory;
    }
};

// The last presented picture of a run of the "Vorta Strike" test set from `romPath`.
std::vector<uint8_t> snapshotOfRun(const std::string& romPath, std::vector<std::string>& messages)
{
    HeadlessRun run = runHeadless(romPath, "JN", "20:Right,70:Up+Ctrl,120:-", 150);
    EXPECT_EQ(run.status, 0);
    for (const auto& m : run.shown)
        messages.push_back(m.text);
    return std::move(run.picture);
}

TEST_F(RomSourceFixture, AZippedSetRunsLikeTheSameSetInAFolder)
{
    TempFolder plain;
    writeTestRomSet(plain);
    // Lower-case names in a sub-folder of the archive: found by their last component.
    writeZip(folder.path() / "vorta.zip",
             folderMembers(plain.path() / "vorta", [](const std::string& n) { return "set/" + lowerCase(n); }));
    std::vector<std::string> shown;
    const auto fromFolder = snapshotOfRun(plain.str(), shown);
    const auto fromArchive = snapshotOfRun(folder.str(), shown);
    EXPECT_TRUE(shown.empty()) << shown.front();
    ASSERT_FALSE(fromFolder.empty());
    EXPECT_EQ(fromArchive, fromFolder);
    EXPECT_TRUE(std::any_of(fromFolder.begin(), fromFolder.end(), [](uint8_t b) { return b != 0; }));
}

TEST_F(RomSourceFixture, ArchiveAndMemberNamesAreFoundWithoutRegardToCase)
{
    writeZip(folder.path() / "TUTANKHM.ZIP", {{"RA1_1I.CPU", {1, 2}}, {"roms/RA1_2H.cpu", {3}}, {"ra1_3h.cpu/", {}}});
    EXPECT_EQ(load("tutankhm\\ra1_1i.cpu", 2), (std::vector<uint8_t>{1, 2}));
    EXPECT_EQ(load("tutankhm\\ra1_2h.cpu", 2), (std::vector<uint8_t>{3, 0xEE}));
    const RomLocation where = locateRom(folder.str(), "tutankhm\\ra1_2h.cpu");
    EXPECT_EQ(where.place, RomPlace::Archive);
    EXPECT_EQ(where.archiveName, "TUTANKHM.ZIP");
    EXPECT_EQ(where.member, "roms/RA1_2H.cpu");
    EXPECT_EQ(where.size, 1u);
    // A folder entry of the archive is not a file.
    std::vector<uint8_t> memory(4, 0);
    EXPECT_EQ(loadRomList(memory, {"tutankhm\\ra1_3h.cpu"}, 0, 4), 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              "Couldn't open \"tutankhm/ra1_3h.cpu\" in \"TUTANKHM.ZIP\".\n\nCheck you have correctly named roms");
}

TEST_F(RomSourceFixture, AFolderWinsOverTheArchive)
{
    writeFile(folder.path() / "vorta" / "VSA_B9.BIN", {1});
    writeZip(folder.path() / "vorta.zip", {{"VSA_B9.BIN", {2}}, {"VSB_B10.BIN", {3}}});
    EXPECT_EQ(load("vorta\\VSA_B9.BIN", 1), (std::vector<uint8_t>{1}));
    // The folder is the set: what it lacks is missing, even when the archive holds it.
    std::vector<uint8_t> memory(1, 0);
    EXPECT_EQ(loadRomList(memory, {"vorta\\VSB_B10.BIN"}, 0, 1), 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Couldn't open \"vorta/VSB_B10.BIN\".\n\nCheck you have correctly named roms");
}

TEST_F(RomSourceFixture, DamagedArchivesAreReportedNamingTheFileAndTheArchive)
{
    TempFolder source;
    const fs::path good = source.path() / "good.zip";
    writeZip(good, {{"VSA_B9.BIN", std::vector<uint8_t>(8192, 0x5A)}});
    const std::vector<uint8_t> whole = readBytes(good);
    std::vector<uint8_t> badCrc = whole;
    badCrc[40] ^= 0xFF; // inside the deflated data of the only member
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"garbage", std::vector<uint8_t>(300, 0x41)},
        {"empty", {}},
        {"truncated", std::vector<uint8_t>(whole.begin(), whole.begin() + std::ptrdiff_t(whole.size() / 2))},
        {"no end record", std::vector<uint8_t>(whole.begin(), whole.end() - 10)},
        {"damaged member", badCrc},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        notes.clear();
        writeFile(folder.path() / "vorta.zip", c.bytes);
        std::vector<uint8_t> memory(8192, 0);
        EXPECT_EQ(loadRomList(memory, {"vorta\\VSA_B9.BIN"}, 0, 8192), 1);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0],
                  "Couldn't open \"vorta/VSA_B9.BIN\" in \"vorta.zip\".\n\nCheck you have correctly named roms");
        ASSERT_EQ(notes.size(), 1u);
        EXPECT_EQ(notes[0].rfind("\"vorta/VSA_B9.BIN\" in \"vorta.zip\": ", 0), 0u) << notes[0];
    }
}

TEST_F(RomSourceFixture, ARewrittenArchiveIsReadAgain)
{
    writeZip(folder.path() / "vorta.zip", {{"VSA_B9.BIN", {1}}});
    EXPECT_EQ(load("vorta\\VSA_B9.BIN", 1), (std::vector<uint8_t>{1}));
    writeZip(folder.path() / "vorta.zip", {{"VSA_B9.BIN", {2, 2}}});
    EXPECT_EQ(load("vorta\\VSA_B9.BIN", 2), (std::vector<uint8_t>{2, 2}));
}

TEST_F(RomSourceFixture, ThingsThatAreNotFilesFailLikeMissingFilesWithoutWaiting)
{
    const fs::path rom = folder.path() / "vorta" / "VSA_B9.BIN";
    fs::create_directories(rom.parent_path());
    const struct {
        const char* what;
        std::function<void()> make;
        const char* reason;
    } cases[] = {
        {"folder", [&] { fs::create_directories(rom); }, "is a folder, not a file"},
        {"fifo", [&] { ASSERT_EQ(::mkfifo(rom.c_str(), 0600), 0); }, "is a FIFO, not a file"},
        {"device", [&] { fs::create_symlink("/dev/zero", rom); }, "is a device, not a file"},
        {"dangling link", [&] { fs::create_symlink(folder.path() / "nowhere", rom); }, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(rom);
        messages.clear();
        notes.clear();
        c.make();
        const auto start = std::chrono::steady_clock::now();
        std::vector<uint8_t> memory(8192, 0);
        EXPECT_EQ(loadRomList(memory, {"vorta\\VSA_B9.BIN"}, 0, 8192), 1);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0], "Couldn't open \"vorta/VSA_B9.BIN\".\n\nCheck you have correctly named roms");
        if (std::string(c.reason).empty()) {
            EXPECT_TRUE(notes.empty()); // a plain missing file needs no further word
        } else {
            ASSERT_EQ(notes.size(), 1u);
            EXPECT_EQ(notes[0], std::string("\"vorta/VSA_B9.BIN\": ") + c.reason);
        }
        EXPECT_FALSE(readRomBytes("vorta\\VSA_B9.BIN"));
    }
    fs::remove_all(rom);
}

TEST_F(RomSourceFixture, AnUnreadableFileFailsLikeAMissingFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the super-user";
    const fs::path rom = folder.path() / "vorta" / "VSA_B9.BIN";
    writeFile(rom, {1, 2, 3});
    fs::permissions(rom, fs::perms::none);
    std::vector<uint8_t> memory(4, 0);
    EXPECT_EQ(loadRomList(memory, {"vorta\\VSA_B9.BIN"}, 0, 4), 1);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0], "\"vorta/VSA_B9.BIN\": Permission denied");
}

TEST_F(RomSourceFixture, AShortFileLoadsAndIsNamedOnceWithItsSize)
{
    writeFile(folder.path() / "vorta" / "VSA_B9.BIN", {7, 7});
    writeZip(folder.path() / "tutankhm.zip", {{"ra1_1i.cpu", {9}}});
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<uint8_t> memory(4, 0xEE);
        EXPECT_EQ(loadRomList(memory, {"vorta\\VSA_B9.BIN"}, 0, 4), 0);
        EXPECT_EQ(memory, (std::vector<uint8_t>{7, 7, 0xEE, 0xEE}));
        EXPECT_EQ(loadRomList(memory, {"tutankhm\\ra1_1i.cpu"}, 0, 4), 0);
    }
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(notes, (std::vector<std::string>{
                         "warning: \"vorta/VSA_B9.BIN\" holds 2 bytes, 4 expected",
                         "warning: \"tutankhm/ra1_1i.cpu\" in \"tutankhm.zip\" holds 1 bytes, 4 expected"}));
}

TEST_F(RomSourceFixture, SamplesVoiceAndColourFilesComeFromFoldersOrArchives)
{
    writeZip(folder.path() / "sound.zip", {{"vorta_01.wav", {'R', 'I', 'F', 'F'}}});
    writeZip(folder.path() / "rtype2.zip", {{"RT2_VO.BIN", std::vector<uint8_t>(0x20010, 0x80)}});
    EXPECT_EQ(readRomBytes("sound\\vorta_01.wav"), (std::vector<uint8_t>{'R', 'I', 'F', 'F'}));
    EXPECT_EQ(readRomBytes("rtype2\\rt2_vo.bin", 0x20000)->size(), 0x20000u);
    EXPECT_FALSE(readRomBytes("sound\\vorta_02.wav"));
    EXPECT_TRUE(notes.empty());

    writeZip(folder.path() / "scramble.zip", {{"scramble.clr", {0xC0, 0x07}}});
    StartedEmulator s("", 16);
    initGamePalette(Scramble, s.emu.display, s.emu.colours, readRomBytes);
    EXPECT_EQ(s.emu.colours.rgb[0][0].blue, 222);
    EXPECT_EQ(s.emu.colours.rgb[0][1].red, 255);
    EXPECT_TRUE(messages.empty());
}

} // namespace
} // namespace vortastr::test
