// The built korvax binary run as a user would run it from a shell.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sys/wait.h>

#include "core/messages.h"
#include "image_maker.h"

namespace korvax {
namespace {

namespace fs = std::filesystem;

const std::string kDiscs = SUITE_TESTDATA_DIR "/discs/";

struct Result {
    int status = -1;
    std::string out, err;
};

std::string quote(const std::string& s) { return "'" + s + "'"; }

Result runKorvax(const std::string& args)
{
    test::TempDir dir;
    const fs::path errFile = dir / "stderr";
    const std::string command = quote(KORVAX_BINARY) + " " + args + " 2>" + quote(errFile.string());
    Result r;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return r;
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        r.out.append(buffer, n);
    const int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const auto err = test::readFile(errFile);
    r.err.assign(err.begin(), err.end());
    return r;
}

TEST(Cli, VersionAndHelp)
{
    const Result v = runKorvax("--version");
    EXPECT_EQ(v.status, 0);
    EXPECT_EQ(v.out, "korvax 0.1a\n");
    const Result h = runKorvax("--help");
    EXPECT_EQ(h.status, 0);
    EXPECT_NE(h.out.find("--info SOURCE NAME"), std::string::npos);
    const Result bad = runKorvax("--frobnicate");
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("unknown option '--frobnicate'"), std::string::npos);
}

TEST(Cli, ListsTheHeaderFilesOfAnImage)
{
    const Result r = runKorvax("--aips " + quote(kDiscs + "saturn-test.iso"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "(system area)\n0.BIN\n");
    EXPECT_EQ(r.err, "");
}

TEST(Cli, DrivesIncludeTheImagesGiven)
{
    const Result r =
        runKorvax("--drives " + quote(kDiscs + "saturn-nolabel.iso") + " " + quote(kDiscs + "saturn-test.iso"));
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("saturn-nolabel.iso: 'No Name'\nsaturn-test.iso: 'SATURN_TEST'\n"), std::string::npos);
}

TEST(Cli, DrivesShowAnImageNameAsItIsSpelt)
{
    test::TempDir dir;
    const fs::path image = dir / "Bah\xc3\xad"
                                 "a.iso";
    fs::copy_file(kDiscs + "saturn-test.iso", image);
    const Result r = runKorvax("--drives " + quote(image.string()));
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("Bah\xc3\xad"
                         "a.iso: 'SATURN_TEST'\n"),
              std::string::npos)
        << r.out;
}

TEST(Cli, InfoPrintsTheNineFieldsUnderTheirLabels)
{
    const Result r = runKorvax("--info " + quote(kDiscs + "saturn-nolabel.iso") + " IP.BIN");
    EXPECT_EQ(r.status, 0);
    const char* labels[] = {"Hardware Identifier: SEGA SEGASATURN \n",
                            "Manufacturer ID: ",
                            "Product Number: ",
                            "Version Information: ",
                            "Release Date: ",
                            "Device Information: ",
                            "Compatible Areas: N.America (U.S., Canada), Central South America (Brazil).\n",
                            "Compatible Peripherals: Standard Digital Control Pad, Steering Wheel.\n",
                            "Game Title(s): "};
    std::size_t at = 0;
    for (const char* label : labels) {
        const std::size_t found = r.out.find(label, at);
        ASSERT_NE(found, std::string::npos) << label;
        at = found + 1;
    }
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 9);
}

TEST(Cli, FailuresGoToStandardErrorWithStatusOne)
{
    test::TempDir dir;
    test::writeFile(dir / "junk.iso", std::vector<std::uint8_t>(40000, 0x5A));
    // A header file listed in the directory as 2304 bytes, cut by the end of the image.
    auto image = test::readFile(kDiscs + "saturn-test.iso");
    image.resize(24 * 2048 + 70); // 0.BIN starts at sector 24
    test::writeFile(dir / "cut.iso", image);

    const Result junk = runKorvax("--aips " + quote((dir / "junk.iso").string()));
    EXPECT_EQ(junk.status, 1);
    EXPECT_EQ(junk.err, std::string(kCaptionError) + " " + kMsgImageOpenFault + "\n\n\"" + (dir / "junk.iso").string() +
                            "\": no ISO 9660 volume was found in it\n");
    EXPECT_EQ(junk.out, "");

    const Result cut = runKorvax("--info " + quote((dir / "cut.iso").string()) + " '(system area)'");
    EXPECT_EQ(cut.status, 0); // the system area is whole
    const Result cutFile = runKorvax("--aips " + quote((dir / "cut.iso").string()));
    EXPECT_EQ(cutFile.status, 0);
    EXPECT_EQ(cutFile.out, "(system area)\n0.BIN\n");
    const Result short_ = runKorvax("--info " + quote((dir / "cut.iso").string()) + " 0.BIN");
    EXPECT_EQ(short_.status, 1);
    EXPECT_EQ(short_.err, std::string(kCaptionProblem) + " " + kMsgAipReadFault + "\n");
    EXPECT_NE(short_.out.find("Device Information: CD-1/1  \n"), std::string::npos);
    EXPECT_EQ(short_.out.find("Compatible Areas"), std::string::npos);
}

// PNG width and height from the IHDR chunk.
std::pair<int, int> pngSize(const fs::path& file)
{
    const auto data = test::readFile(file);
    if (data.size() < 24 || data[1] != 'P' || data[2] != 'N' || data[3] != 'G')
        return {0, 0};
    auto be32 = [&](std::size_t i) { return data[i] << 24 | data[i + 1] << 16 | data[i + 2] << 8 | data[i + 3]; };
    return {be32(16), be32(20)};
}

TEST(Cli, ScreenshotsOfEveryWindow)
{
    test::TempDir dir;
    const std::string iso = quote(kDiscs + "saturn-test.iso");
    for (const char* what : {"main", "menu", "explore", "info", "about"}) {
        const fs::path png = dir / (std::string(what) + ".png");
        const Result r = runKorvax(std::string("--screenshot ") + what + " " + quote(png.string()) + " " + iso);
        EXPECT_EQ(r.status, 0) << what << r.err;
        const auto [w, h] = pngSize(png);
        EXPECT_GT(w, 100) << what;
        EXPECT_GT(h, 100) << what;
        if (std::string(what) == "main") {
            EXPECT_EQ(std::make_pair(w, h), std::make_pair(320, 224));
        }
    }
}

} // namespace
} // namespace korvax
