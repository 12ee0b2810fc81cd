// Packing assembled images into chips and writing a game's files.
#include "testrom/rom_packing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace vortastr::testrom {
namespace {

Bytes counting(std::size_t n)
{
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = uint8_t(i + 1);
    return b;
}

TEST(RomPacking, SplitCutsInOrderAndPadsTheRest)
{
    const std::vector<Bytes> pieces = splitImage(counting(5), {2, 2, 3}, 0xEE);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0], (Bytes{1, 2}));
    EXPECT_EQ(pieces[1], (Bytes{3, 4}));
    EXPECT_EQ(pieces[2], (Bytes{5, 0xEE, 0xEE}));
    EXPECT_THROW(splitImage(counting(8), {2, 2, 3}), std::length_error);
}

TEST(RomPacking, InterleaveDealsGroupsToTheChips)
{
    struct Case {
        std::size_t ways, width, chip;
        std::vector<Bytes> expected;
    };
    const Case cases[] = {
        {2, 1, 4, {{1, 3, 5, 7}, {2, 4, 6, 8}}},             // even and odd bytes
        {2, 2, 4, {{1, 2, 5, 6}, {3, 4, 7, 8}}},             // 16-bit words to 32-bit pairs
        {4, 1, 2, {{1, 5}, {2, 6}, {3, 7}, {4, 8}}},         // four ways
        {2, 1, 5, {{1, 3, 5, 7, 0xFF}, {2, 4, 6, 8, 0xFF}}}, // padded
    };
    for (const Case& c : cases)
        EXPECT_EQ(interleaveImage(counting(8), c.ways, c.width, c.chip), c.expected) << c.ways << "x" << c.width;
    EXPECT_THROW(interleaveImage(counting(9), 2, 1, 4), std::length_error);
    EXPECT_THROW(interleaveImage(counting(4), 2, 3, 4), std::invalid_argument);
}

TEST(RomPacking, PlaceInChipKeepsTheImageInside)
{
    EXPECT_EQ(placeInChip({7, 8}, 2, 4, 0), (Bytes{0, 0, 7, 8}));
    EXPECT_THROW(placeInChip({7, 8}, 3, 4), std::length_error);
    EXPECT_THROW(placeInChip({7, 8}, 5, 4), std::length_error);
}

struct Folder {
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("testrom-packing-" + std::to_string(::getpid()));
    Folder() { std::filesystem::create_directories(path); }
    ~Folder() { std::filesystem::remove_all(path); }
};

TEST(RomPacking, WritesEveryFileAndReadsItBack)
{
    Folder folder;
    std::string error;
    ASSERT_TRUE(writeRomFiles(folder.path.string(), "game", {{"A.BIN", counting(3)}, {"B.BIN", {}}}, error)) << error;
    Bytes read;
    ASSERT_TRUE(readBinary((folder.path / "game" / "A.BIN").string(), read, error)) << error;
    EXPECT_EQ(read, counting(3));
    ASSERT_TRUE(readBinary((folder.path / "game" / "B.BIN").string(), read, error)) << error;
    EXPECT_TRUE(read.empty());
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder.path / "game"))
        ++entries;
    EXPECT_EQ(entries, 2); // no temporary file left behind

    EXPECT_FALSE(readBinary((folder.path / "game" / "C.BIN").string(), read, error));
    EXPECT_NE(error.find("C.BIN"), std::string::npos);
}

TEST(RomPacking, ReportsAFolderThatCannotBeMade)
{
    Folder folder;
    std::string error;
    ASSERT_TRUE(writeRomFiles(folder.path.string(), "x", {{"F", {1}}}, error));
    // "x/F" is a file, so it cannot hold a game folder.
    EXPECT_FALSE(writeRomFiles((folder.path / "x" / "F").string(), "game", {{"A.BIN", {1}}}, error));
    EXPECT_FALSE(error.empty());
    // A file name that is a folder cannot be replaced.
    std::filesystem::create_directories(folder.path / "y" / "A.BIN" / "inside");
    EXPECT_FALSE(writeRomFiles(folder.path.string(), "y", {{"A.BIN", {1}}}, error));
    EXPECT_TRUE(std::filesystem::exists(folder.path / "y" / "A.BIN" / "inside"));
    EXPECT_FALSE(std::filesystem::exists(folder.path / "y" / "A.BIN.tmp"));
}

} // namespace
} // namespace vortastr::testrom
