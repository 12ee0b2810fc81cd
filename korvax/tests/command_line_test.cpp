#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/command_line.h"
#include "core/messages.h"

namespace korvax {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

const std::string kTestIso = (fs::path(SUITE_TESTDATA_DIR) / "discs" / "saturn-test.iso").string();

TEST(ParseCommandLine, Commands)
{
    struct Case {
        Args args;
        CommandKind kind;
        std::string source, name;
        Args images;
    };
    const Case cases[] = {
        {{}, CommandKind::Gui, "", "", {}},
        {{"a.iso", "b.iso"}, CommandKind::Gui, "", "", {"a.iso", "b.iso"}},
        {{"-style", "fusion"}, CommandKind::Gui, "", "", {"-style", "fusion"}},
        {{"--help"}, CommandKind::Help, "", "", {}},
        {{"-h"}, CommandKind::Help, "", "", {}},
        {{"--version"}, CommandKind::Version, "", "", {}},
        {{"--drives"}, CommandKind::Drives, "", "", {}},
        {{"--drives", "x.iso"}, CommandKind::Drives, "", "", {"x.iso"}},
        {{"--aips", "/dev/sr0"}, CommandKind::Aips, "/dev/sr0", "", {}},
        {{"--info", "d.iso", "0.BIN"}, CommandKind::Info, "d.iso", "0.BIN", {}},
        {{"--aips"}, CommandKind::UsageError, "", "", {}},
        {{"--info", "d.iso"}, CommandKind::UsageError, "", "", {}},
        {{"--aips", "a", "--drives"}, CommandKind::UsageError, "", "", {}},
        {{"--aips", "a", "extra"}, CommandKind::UsageError, "", "", {}},
        {{"--bogus"}, CommandKind::UsageError, "", "", {}},
    };
    for (const Case& c : cases) {
        const Command cmd = parseCommandLine(c.args);
        const std::string where = c.args.empty() ? "(none)" : c.args.front() + " ...";
        EXPECT_EQ(cmd.kind, c.kind) << where;
        EXPECT_EQ(cmd.source, c.source) << where;
        EXPECT_EQ(cmd.name, c.name) << where;
        EXPECT_EQ(cmd.images, c.images) << where;
        EXPECT_EQ(cmd.error.empty(), c.kind != CommandKind::UsageError) << where;
    }
}

struct CliRun {
    int status;
    std::string out, err;
};

CliRun run(const Args& args)
{
    SystemDriveAccess access(false); // images only: real drives would make the output vary
    std::ostringstream out, err;
    const int status = runCommand(parseCommandLine(args), access, out, err);
    return {status, out.str(), err.str()};
}

TEST(RunCommand, NoDriveAtAll)
{
    const CliRun none = run({"--drives"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err, std::string(kCaptionProblem) + " " + kMsgNoCdDrives + "\n");
    EXPECT_EQ(run({"--info", kTestIso, "0.bin"}).status, 0); // names match without regard to case
}

TEST(RunCommand, Failures)
{
    struct Case {
        Args args;
        int status;
        std::string errStart;
    };
    const Case cases[] = {
        {{"--info", kTestIso, "ZIP.BIN"}, 1, "korvax: ZIP.BIN: not an AIP"},
        {{"--aips", "/nonexistent/x.iso"}, 1, "korvax: /nonexistent/x.iso: no such"},
        {{"--aips", "/dev/korvax-no-such-drive"}, 1, std::string(kCaptionError) + " " + kMsgDriveNotReady},
        {{"--aips", SUITE_TESTDATA_DIR "/README.md"}, 1, std::string(kCaptionError) + " " + kMsgImageOpenFault},
        {{"--drives", SUITE_TESTDATA_DIR "/README.md"}, 1, std::string(kCaptionError) + " " + kMsgImageOpenFault},
        {{"--what"}, 2, "korvax: unknown option '--what'"},
    };
    for (const Case& c : cases) {
        const CliRun r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.back();
        EXPECT_EQ(r.err.substr(0, c.errStart.size()), c.errStart) << c.args.back();
    }
}

// A broken image names itself and the reason; --aips and --drives say the same about a path.
TEST(RunCommand, ImageFaultsNameTheFileAndTheReason)
{
    const fs::path dir = fs::temp_directory_path() / ("korvax-faults-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string missingBin = (dir / "missing.cue").string();
    std::ofstream(missingBin) << "FILE \"gone.bin\" BINARY\n  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n";
    const std::string junkCue = (dir / "junk.cue").string();
    std::ofstream(junkCue) << "\x01\x02 nothing of a cue sheet\n";
    const std::string empty = (dir / "empty.iso").string();
    std::ofstream{empty};
    const std::string fault = std::string(kCaptionError) + " " + kMsgImageOpenFault + "\n\n";
    struct Case {
        Args args;
        std::string err;
    };
    const Case cases[] = {
        {{"--aips", missingBin},
         fault + "\"" + missingBin + "\": its track file \"gone.bin\" cannot be opened: No such file or directory\n"},
        {{"--drives", junkCue}, fault + "\"" + junkCue + "\": not a cue sheet (it names no track FILE)\n"},
        {{"--aips", empty}, fault + "\"" + empty + "\": the file is empty\n"},
        {{"--aips", dir.string()}, fault + "\"" + dir.string() + "\": Is a directory\n"},
        {{"--drives", dir.string()}, fault + "\"" + dir.string() + "\": Is a directory\n"},
        {{"--aips", "/nonexistent/x.iso"}, "korvax: /nonexistent/x.iso: no such CD-ROM drive or disc image\n"},
        {{"--drives", "/nonexistent/x.iso"}, "korvax: /nonexistent/x.iso: no such CD-ROM drive or disc image\n"},
    };
    for (const Case& c : cases) {
        const CliRun r = run(c.args);
        EXPECT_EQ(r.status, 1) << c.args.back();
        EXPECT_EQ(r.err, c.err) << c.args.back();
    }

    const CliRun both = run({"--drives", kTestIso, "/nonexistent/x.iso"});
    EXPECT_EQ(both.status, 1);
    EXPECT_EQ(both.out, "saturn-test.iso: 'SATURN_TEST'\n");
    EXPECT_EQ(both.err, "korvax: /nonexistent/x.iso: no such CD-ROM drive or disc image\n");
    fs::remove_all(dir);
}

TEST(PrintableText, KeepsTheTerminalSafe)
{
    EXPECT_EQ(printableText("ABC 123"), "ABC 123");
    EXPECT_EQ(printableText("\x1b[2Jx\n"), "?[2Jx?");
    EXPECT_EQ(printableText("caf\xe9"), "caf\xc3\xa9");
    EXPECT_EQ(printableText("\x85"), "?");
}

// List items carry an image's file name, which is UTF-8 on this system.
TEST(PrintableItem, KeepsUtf8NamesAndReadsOtherBytesAsLatin1)
{
    const std::pair<const char*, const char*> cases[] = {
        {"sr0: 'SATURN_TEST'", "sr0: 'SATURN_TEST'"},
        {"Bah\xc3\xad"
         "a.iso: 'X'",
         "Bah\xc3\xad"
         "a.iso: 'X'"},
        {"\xe3\x82\xb5.iso: 'X'", "\xe3\x82\xb5.iso: 'X'"},
        {"caf\xe9: 'X'", "caf\xc3\xa9: 'X'"},  // not UTF-8: Latin-1
        {"\xc0\xaf", "\xc3\x80\xc2\xaf"},      // overlong form is not UTF-8
        {"\xed\xa0\x80", "\xc3\xad\xc2\xa0?"}, // nor is a surrogate
        {"\xe3\x82", "\xc3\xa3?"},             // nor a cut sequence
        {"a\x1b[2J\xc3\xa9\n", "a?[2J\xc3\xa9?"},
        {"\xc2\x85", "?"}, // C1 control in UTF-8
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(printableItem(in), out) << in;
}

} // namespace
} // namespace korvax
