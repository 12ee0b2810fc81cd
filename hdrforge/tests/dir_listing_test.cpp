// "Make List": the listing's order, line layout, count line and file handling.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "dir_listing.h"
#include "test_files.h"

using namespace hdrforge;
namespace fs = std::filesystem;

namespace {

class ListingTest : public testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
};

std::string readText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void setModified(const std::string& path, std::time_t when)
{
    struct timeval times[2] = {{when, 0}, {when, 0}};
    ::utimes(path.c_str(), times);
}

TEST_F(ListingTest, SortedByNameIgnoringCaseWithSizesFoldersAndCount)
{
    const std::time_t when = 1'700'000'000; // 2023-11-14 22:13 UTC
    std::string text = formatListing({{"zeta.nes", false, 40976, when},
                                      {"Alpha.hdr", false, 16, when},
                                      {"beta", true, 0, when},
                                      {"alpha.nes", false, 0, when}});
    EXPECT_EQ(text, "2023-11-14  22:13              16 Alpha.hdr\n"
                    "2023-11-14  22:13               0 alpha.nes\n"
                    "2023-11-14  22:13      <DIR>      beta\n"
                    "2023-11-14  22:13           40976 zeta.nes\n"
                    "3 File(s)  40992 bytes  1 Dir(s)\n");
}

TEST_F(ListingTest, EmptyFolderGivesOnlyTheCountLine)
{
    EXPECT_EQ(formatListing({}), "0 File(s)  0 bytes  0 Dir(s)\n");
}

TEST_F(ListingTest, WritesTheFolderListingBesideItsFilesWithoutListingItself)
{
    TempDir dir;
    writeBytes(dir.file("b.nes"), Bytes(40976, 1));
    writeBytes(dir.file("A.hdr"), Bytes(16, 2));
    fs::create_directory(dir.file("roms"));
    fs::create_symlink("gone.nes", dir.file("broken.nes"));
    for (const char* name : {"b.nes", "A.hdr", "roms"})
        setModified(dir.file(name), 1'000'000'000);
    std::string error;
    ASSERT_TRUE(writeFolderListing(dir.path(), dir.file("List.txt"), error)) << error;
    std::string first = readText(dir.file("List.txt"));
    EXPECT_NE(first.find("2001-09-09  01:46              16 A.hdr\n"), std::string::npos) << first;
    EXPECT_NE(first.find("2001-09-09  01:46           40976 b.nes\n"), std::string::npos) << first;
    EXPECT_NE(first.find("2001-09-09  01:46      <DIR>      roms\n"), std::string::npos) << first;
    EXPECT_LT(first.find("A.hdr"), first.find("b.nes"));
    EXPECT_LT(first.find("b.nes"), first.find("broken.nes"));
    EXPECT_EQ(first.find("List.txt"), std::string::npos);
    EXPECT_NE(first.find("3 File(s)"), std::string::npos) << first;
    // A second run replaces the first listing with the same one and leaves no temporary file.
    ASSERT_TRUE(writeFolderListing(dir.path(), dir.file("List.txt"), error)) << error;
    EXPECT_EQ(readText(dir.file("List.txt")), first);
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 5);
}

TEST_F(ListingTest, ListFileElsewhereAndFailures)
{
    TempDir dir, out;
    writeBytes(dir.file("one.nes"), Bytes(10, 0));
    std::string error;
    ASSERT_TRUE(writeFolderListing(dir.path(), out.file("List.txt"), error)) << error;
    EXPECT_NE(readText(out.file("List.txt")).find(" one.nes\n1 File(s)  10 bytes  0 Dir(s)\n"), std::string::npos);
    EXPECT_FALSE(writeFolderListing(dir.file("missing"), out.file("x.txt"), error));
    EXPECT_NE(error.find("Cannot list"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(out.file("x.txt")));
    EXPECT_FALSE(writeFolderListing(dir.path(), dir.file("no/such/List.txt"), error));
    EXPECT_NE(error.find("Cannot write"), std::string::npos) << error;
}

} // namespace
