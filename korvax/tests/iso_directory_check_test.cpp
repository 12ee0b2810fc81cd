#include <gtest/gtest.h>

#include <filesystem>

#include "core/cdio_drive_access.h"
#include "core/iso_directory_check.h"
#include "image_maker.h"

namespace korvax {
namespace {

namespace fs = std::filesystem;

// One directory record of `length` bytes whose name is `nameLength` bytes long.
void putRecord(std::vector<std::uint8_t>& dir, std::size_t at, std::uint8_t length, std::uint8_t nameLength)
{
    dir[at] = length;
    dir[at + 32] = nameLength;
}

TEST(DirectoryRecords, MustLieInsideTheDirectory)
{
    struct Case {
        const char* what;
        std::size_t at;
        std::uint8_t length, nameLength;
        bool safe;
    };
    const Case cases[] = {
        {"plain record", 0, 34, 1, true},
        {"record ending at the end", 2048 - 34, 34, 1, true},
        {"record running past the end", 2048 - 33, 34, 1, false},
        {"shorter than its fixed part", 0, 20, 0, false},
        {"name longer than the record", 0, 40, 30, false},
        {"XA attributes one byte past the end", 2048 - 47, 47, 0, false},
        {"XA attributes inside", 0, 48, 0, true},
        {"record after zero padding at an odd offset", 1001, 40, 7, true},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> dir(2048, 0);
        putRecord(dir, c.at, c.length, c.nameLength);
        EXPECT_EQ(directoryRecordsInBounds(dir.data(), dir.size()), c.safe) << c.what;
    }
    EXPECT_TRUE(directoryRecordsInBounds(nullptr, 0));
}

TEST(DirectoryRecords, RootExtentComesFromTheVolumeDescriptor)
{
    std::vector<std::uint8_t> pvd(2048, 0);
    pvd[0] = 1;
    pvd[156 + 2] = 23;        // extent 23
    pvd[156 + 10 + 1] = 0x10; // 4096 bytes
    DirectoryExtent root;
    ASSERT_TRUE(rootDirectoryExtent(pvd.data(), pvd.size(), root));
    EXPECT_EQ(root.lsn, 23u);
    EXPECT_EQ(root.blocks(), 2u);
    pvd[156 + 10 + 3] = 0x7F; // about 2 GB
    EXPECT_FALSE(rootDirectoryExtent(pvd.data(), pvd.size(), root));
    pvd[0] = 2;
    EXPECT_FALSE(rootDirectoryExtent(pvd.data(), pvd.size(), root));
    EXPECT_FALSE(rootDirectoryExtent(pvd.data(), 100, root));
}

// A root directory whose last record's name runs past the directory: refused before libiso9660
// reads beyond its buffer (found by fuzzing).
TEST(DirectoryRecords, ImageWithAnOverlongNameIsNotRead)
{
    test::TempDir dir;
    const fs::path iso = dir / "bad.iso";
    ASSERT_TRUE(test::makeIso(iso, "BAD", {{"0.BIN", test::makeHeader()}}, test::makeHeader({.size = 4096})));
    auto data = test::readFile(iso);
    DirectoryExtent root;
    ASSERT_TRUE(rootDirectoryExtent(data.data() + 16 * 2048, 2048, root));
    const std::size_t end = std::size_t{root.lsn} * 2048 + root.blocks() * 2048;
    data[end - 40] = 40; // a record in the padding at the directory's end
    data[end - 8] = 200; // whose name would take 200 bytes
    test::writeFile(iso, data);

    auto disc = openImageFile(iso.string());
    ASSERT_TRUE(disc);
    std::vector<DirEntry> entries;
    EXPECT_FALSE(disc->listRoot(entries));
    std::vector<std::uint8_t> bytes;
    EXPECT_FALSE(disc->readFileStart("0.BIN", 16, bytes));
    EXPECT_TRUE(disc->readSystemArea(16, bytes)); // the system area is still read
}

} // namespace
} // namespace korvax
