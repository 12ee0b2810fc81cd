// The command line, run as the built program: output, files and exit status.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include "test_files.h"

namespace fs = std::filesystem;

namespace {

struct Result {
    int status = -1;
    std::string out, err;
};

std::string slurp(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string quoted(const std::string& arg)
{
    std::string q = "'";
    for (char c : arg)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

class CommandLine : public testing::Test {
protected:
    Result hdrforge(const std::vector<std::string>& args)
    {
        std::string command = quoted(HDRFORGE_BIN);
        for (const std::string& a : args)
            command += " " + quoted(a);
        command += " >" + quoted(dir.file("stdout")) + " 2>" + quoted(dir.file("stderr")) + " </dev/null";
        Result run;
        int raw = std::system(command.c_str());
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = slurp(dir.file("stdout"));
        run.err = slurp(dir.file("stderr"));
        fs::remove(dir.file("stdout"));
        fs::remove(dir.file("stderr"));
        return run;
    }
    std::string makeFile(const std::string& name, const Bytes& bytes)
    {
        writeBytes(dir.file(name), bytes);
        return dir.file(name);
    }
    TempDir dir;
};

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(CommandLine, HelpAndVersion)
{
    Result help = hdrforge({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(contains(help.out, "--patch HEADER.hdr GAME.nes"));
    Result version = hdrforge({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "hdrforge 1.00\n");
}

TEST_F(CommandLine, WrongUsageExitsWith2AndTouchesNothing)
{
    Bytes game = gameImage(40976, headerBytes(2, 1, 0x10, 0));
    std::string path = makeFile("game.nes", game);
    const std::vector<std::vector<std::string>> cases = {
        {"--force"},
        {"--bogus"},
        {"--show"},
        {"--show", path, path},
        {"--set", path},
        {"--set", "colour=red", path},
        {"--set", "prg=0", path},
        {"--set", "prg=33", path},
        {"--set", "chr=65", path},
        {"--set", "mapper=256", path},
        {"--set", "mapper=-1", path},
        {"--set", "mapper=4x", path},
        {"--set", "mirroring=diagonal", path},
        {"--set", "battery=maybe", path},
        {"--set", "mapper=4"},
        {"--show", path, "--set", "mapper=4"},
        {"--new", dir.file("x.nes")},
        {"--patch", path},
        {"--patch", path, dir.file("h.hdr")},
        {"--list", dir.path()},
    };
    for (const auto& args : cases) {
        Result run = hdrforge(args);
        EXPECT_EQ(run.status, 2) << args[0] << " " << (args.size() > 1 ? args[1] : "");
        EXPECT_TRUE(contains(run.err, "hdrforge: ")) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(readBytes(path), game);
    EXPECT_FALSE(fs::exists(dir.file("x.nes")));
}

TEST_F(CommandLine, ShowPrintsEveryField)
{
    Result run = hdrforge({"--show", makeFile("mmc1.nes", gameImage(40976, headerBytes(2, 1, 0x13, 0x00)))});
    EXPECT_EQ(run.status, 0) << run.err;
    for (const char* line :
         {"Kind: game (.nes)\n", "File size: 40976 bytes\n", "PRG Size: 32768 bytes (2 x 16kb pages)\n",
          "CHR Size: 8192 bytes (1 x 8kb pages)\n", "Mirroring: Vertical\n", "Battery Backup: Yes\n", "Trainer: No\n",
          "4-Screen VRAM: No\n", "Mapper Number: 1\n",
          "Mapper: Nintendo MMC1 ---------------------------------- Examples: Megaman 2", "Format: iNES\n",
          "Size check: the size matches the header\n"})
        EXPECT_TRUE(contains(run.out, line)) << line << "\n" << run.out;
}

TEST_F(CommandLine, ShowReadsByte6LowNibbleAsFlagsAndIgnoresByte7LowNibble)
{
    Result run = hdrforge({"--show", makeFile("flags.hdr", headerBytes(1, 0, 0x0F, 0x0F))});
    EXPECT_EQ(run.status, 0) << run.err;
    for (const char* line :
         {"Mapper Number: 0\n", "Mirroring: Vertical\n", "Battery Backup: Yes\n", "Trainer: Yes\n",
          "4-Screen VRAM: Yes\n", "CHR Size: No CHR\n", "Size check: not applicable to a header file\n"})
        EXPECT_TRUE(contains(run.out, line)) << line << "\n" << run.out;
    // Saved again, the low half of byte 7 is written as zero.
    std::string path = dir.file("flags.hdr");
    EXPECT_EQ(hdrforge({"--set", "battery=yes", path}).status, 0);
    EXPECT_EQ(readBytes(path), headerBytes(1, 0, 0x0F, 0x00));
}

TEST_F(CommandLine, MapperNamesFollowTheTable)
{
    struct Case {
        const char* mapper;
        const char* line;
    } cases[] = {{"13", "Mapper: No Info Available\n"},
                 {"34", "Mapper: 32kB ROM switch ---------------------------------- Examples: Impossible Mission 2"},
                 {"255", "Mapper: No Info Available\n"}};
    for (const Case& c : cases) {
        std::string path = dir.file(std::string("m") + c.mapper + ".hdr");
        ASSERT_EQ(hdrforge({"--new", std::string("mapper=") + c.mapper, path}).status, 0);
        Result show = hdrforge({"--show", path});
        EXPECT_TRUE(contains(show.out, std::string("Mapper Number: ") + c.mapper + "\n")) << show.out;
        EXPECT_TRUE(contains(show.out, c.line)) << show.out;
    }
}

TEST_F(CommandLine, ShowReportsSizeMismatchAndNes2)
{
    Bytes header = headerBytes(2, 1, 0x00, 0x08, 0x01);
    Result run = hdrforge({"--show", makeFile("odd.NES", gameImage(40000, header))});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "Size check: size does not match the header: 40976 bytes expected\n")) << run.out;
    EXPECT_TRUE(contains(run.out, "Format: NES 2.0")) << run.out;
}

TEST_F(CommandLine, MalformedAndMissingFilesNeverCrash)
{
    for (std::size_t size = 0; size < 16; ++size) {
        Bytes bytes = headerBytes(0xFF, 0xFF, 0xFF, 0xFF, 0xFF);
        bytes.resize(size);
        Result run = hdrforge({"--show", makeFile("short.nes", bytes)});
        EXPECT_EQ(run.status, 0) << size << run.err;
        EXPECT_TRUE(contains(run.out, "File size: " + std::to_string(size) + " bytes")) << run.out;
        EXPECT_TRUE(contains(run.out, "Size check: the file is shorter than a header")) << run.out;
    }
    fs::create_directory(dir.file("folder.nes"));
    struct Case {
        std::string path, message;
    } failures[] = {{dir.file("missing.nes"), "No such file"},
                    {dir.file("folder.nes"), "it is a folder"},
                    {makeFile("notes.txt", Bytes(16, 0)), "is neither a game (.nes) nor a header (.hdr)"}};
    for (const Case& c : failures) {
        Result run = hdrforge({"--show", c.path});
        EXPECT_EQ(run.status, 1) << c.path;
        EXPECT_TRUE(contains(run.err, c.message)) << run.err;
        Result set = hdrforge({"--set", "mapper=1", c.path});
        EXPECT_EQ(set.status, 1) << c.path;
    }
    EXPECT_FALSE(fs::exists(dir.file("missing.nes")));
    EXPECT_EQ(readBytes(dir.file("notes.txt")), Bytes(16, 0));
}

TEST_F(CommandLine, NewStartsFromTheFormDefaults)
{
    Result run = hdrforge({"--new", dir.file("Untitled.hdr")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readBytes(dir.file("Untitled.hdr")), headerBytes(1, 0, 0, 0));
}

TEST_F(CommandLine, NewWithMapper255And32PrgNoChrVerticalBattery)
{
    std::string path = dir.file("big.hdr");
    Result run = hdrforge({"--new", "prg=32", "chr=0", "mapper=255", "mirroring=vertical", "battery=yes", path});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readBytes(path), headerBytes(0x20, 0x00, 0xF3, 0xF0));
}

TEST_F(CommandLine, NewDoesNotReplaceAFileWithoutForce)
{
    std::string path = makeFile("keep.hdr", headerBytes(3, 3, 0x30, 0x00));
    Result refused = hdrforge({"--new", path});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(contains(refused.err, "already exists")) << refused.err;
    EXPECT_EQ(readBytes(path), headerBytes(3, 3, 0x30, 0x00));
    EXPECT_EQ(hdrforge({"--new", "--force", path}).status, 0);
    EXPECT_EQ(readBytes(path), headerBytes(1, 0, 0, 0));
}

TEST_F(CommandLine, SetChangesOnlyTheGivenFieldsAndKeepsCountsBeyondTheLists)
{
    Bytes game = gameImage(50000, headerBytes(40, 100, 0x0F, 0x0F, 0x00));
    std::string path = makeFile("big.nes", game);
    Result run = hdrforge({"--set", "mapper=34", "fourscreen=no", "trainer=no", path});
    EXPECT_EQ(run.status, 0) << run.err;
    Bytes after = readBytes(path);
    ASSERT_EQ(after.size(), game.size());
    Bytes expected = headerBytes(40, 100, 0x23, 0x20);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), after.begin()));
    EXPECT_TRUE(std::equal(after.begin() + 16, after.end(), game.begin() + 16));
}

TEST_F(CommandLine, SetRefusesToClearNes2DataWithoutForce)
{
    Bytes game = gameImage(40976, headerBytes(2, 1, 0x10, 0x08, 0x5A));
    std::string path = makeFile("nes2.nes", game);
    Result refused = hdrforge({"--set", "battery=yes", path});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(contains(refused.err, "NES 2.0")) << refused.err;
    EXPECT_EQ(readBytes(path), game);
    Result forced = hdrforge({"--set", "battery=yes", "--force", path});
    EXPECT_EQ(forced.status, 0) << forced.err;
    Bytes after = readBytes(path);
    Bytes expected = headerBytes(2, 1, 0x12, 0x00);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), after.begin()));
}

TEST_F(CommandLine, PatchChangesOnlyTheFirst16BytesOfA40976ByteGame)
{
    Bytes game = gameImage(40976, headerBytes(1, 1, 0x00, 0x00, 0x33));
    std::string gamePath = makeFile("game.nes", game);
    std::string header = makeFile("mmc3.hdr", headerBytes(2, 1, 0x41, 0x0F, 0x00));
    Result run = hdrforge({"--patch", header, gamePath});
    EXPECT_EQ(run.status, 0) << run.err;
    Bytes after = readBytes(gamePath);
    ASSERT_EQ(after.size(), 40976u);
    Bytes expected = headerBytes(2, 1, 0x41, 0x00);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), after.begin()));
    EXPECT_TRUE(std::equal(after.begin() + 16, after.end(), game.begin() + 16));
}

TEST_F(CommandLine, PatchRefusals)
{
    Bytes game = gameImage(40976, headerBytes(1, 1, 0, 0x08, 0x11));
    std::string gamePath = makeFile("nes2.nes", game);
    std::string header = makeFile("plain.hdr", headerBytes(2, 1, 0x41, 0x00));
    EXPECT_EQ(hdrforge({"--patch", header, gamePath}).status, 1);
    EXPECT_EQ(hdrforge({"--patch", header, dir.file("missing.nes")}).status, 1);
    EXPECT_EQ(hdrforge({"--patch", dir.file("missing.hdr"), gamePath}).status, 1);
    EXPECT_EQ(hdrforge({"--patch", header, makeFile("data.bin", Bytes(100, 1))}).status, 2);
    EXPECT_EQ(readBytes(gamePath), game);
    EXPECT_EQ(readBytes(dir.file("data.bin")), Bytes(100, 1));
    EXPECT_FALSE(fs::exists(dir.file("missing.nes")));
}

TEST_F(CommandLine, ListWritesTheFolderListing)
{
    makeFile("a.nes", Bytes(24592, 0));
    Result run = hdrforge({"--list", dir.path(), dir.file("List.txt")});
    EXPECT_EQ(run.status, 0) << run.err;
    std::string listing = slurp(dir.file("List.txt"));
    EXPECT_TRUE(contains(listing, "24592 a.nes\n")) << listing;
    Result missing = hdrforge({"--list", dir.file("nope"), dir.file("x.txt")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(contains(missing.err, "Cannot list")) << missing.err;
}

} // namespace
