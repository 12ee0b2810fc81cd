// The scanner on real disc images through libcdio and libiso9660: the shared images, images
// generated here (2048- and 2352-byte sectors, long labels, many files) and broken files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "core/cdio_drive_access.h"
#include "core/messages.h"
#include "image_maker.h"
#include "recording_views.h"

namespace korvax {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

const fs::path kDiscs = fs::path(SUITE_TESTDATA_DIR) / "discs";

// Lists the images as drives, scans the first and returns its sorted AIP list.
struct ImageScan {
    SystemDriveAccess access{false};
    ScannerState state;
    test::RecordingExploreView view;

    Strings scan(const fs::path& image)
    {
        auto drive = access.addImage(image.string());
        if (!drive)
            return {"<not opened>"};
        if (!listCdDrives(view, state, access))
            return {"<not listed>"};
        for (const ReadyDrive& d : state.drives.readyDrives)
            if (d.drive.name == drive->name)
                view.selectedDrive = d.item;
        scanForAips(view, state, access);
        Strings items = view.aipItems;
        std::sort(items.begin(), items.end());
        return items;
    }

    std::map<int, std::string> info(const std::string& name, std::vector<test::Message>* messages = nullptr)
    {
        test::RecordingInfoView infoView;
        view.selectedAip = name;
        view.onInfoDialog = [&] { displayAipHeader(infoView, state, access); };
        showAipInfo(view, state);
        if (messages)
            *messages = infoView.messages;
        return infoView.fields;
    }
};

TEST(SharedImages, SaturnTestListsOnlyTheRealHeaderAndTheSystemArea)
{
    ImageScan s;
    EXPECT_EQ(s.scan(kDiscs / "saturn-test.iso"), (Strings{"(system area)", "0.BIN"}));
    EXPECT_EQ(s.view.driveItems, Strings{"saturn-test.iso: 'SATURN_TEST'"});
    EXPECT_EQ(s.state.currentLabel, "SATURN_TEST");

    auto fields = s.info("0.BIN");
    ASSERT_EQ(fields.size(), 9u);
    EXPECT_EQ(fields[FieldHardwareId], "SEGA SEGASATURN ");
    EXPECT_EQ(fields[FieldProductNumber], "T-99901G  ");
    EXPECT_EQ(fields[FieldAreas],
              "Japan, Asia NTSC (Taiwan, Phillipines, Korea), N.America (U.S., Canada), Central South America "
              "(Brazil), Europe PAL, East Asia PAL, Central South America PAL.");
    EXPECT_EQ(fields[FieldPeripherals], "Standard Digital Control Pad, Analogue Controller, Mouse.");
    EXPECT_EQ(fields[FieldTitle].substr(0, 23), "J:KORVAX TEST DISC ONE ");

    fields = s.info("(system area)");
    EXPECT_EQ(fields[FieldTitle].substr(0, 21), "J:SYSTEM AREA HEADER ");
}

TEST(SharedImages, EmptyLabelReadsNoName)
{
    ImageScan s;
    EXPECT_EQ(s.scan(kDiscs / "saturn-nolabel.iso"), Strings{"IP.BIN"});
    EXPECT_EQ(s.view.driveItems, Strings{"saturn-nolabel.iso: 'No Name'"});
    auto fields = s.info("IP.BIN");
    EXPECT_EQ(fields[FieldAreas], "N.America (U.S., Canada), Central South America (Brazil).");
    EXPECT_EQ(fields[FieldPeripherals], "Standard Digital Control Pad, Steering Wheel.");
}

class GeneratedImages : public ::testing::Test {
protected:
    void SetUp() override
    {
        iso = dir / "disc.iso";
        ASSERT_TRUE(test::makeIso(iso, label,
                                  {{"0.BIN", test::makeHeader({.areas = "E", .peripherals = "JG"})},
                                   {"README", std::vector<std::uint8_t>(300, 'r')},
                                   {"SMALL.BIN", test::makeHeader({.size = 100})}},
                                  test::makeHeader({.title = "SYSTEM", .size = 32768})));
    }
    test::TempDir dir;
    fs::path iso;
    const std::string label = "A_LABEL_OF_THIRTY_TWO_CHARACTERS";
};

TEST_F(GeneratedImages, IsoWithLongLabel)
{
    ImageScan s;
    EXPECT_EQ(s.scan(iso), (Strings{"(system area)", "0.BIN"}));
    EXPECT_EQ(s.view.driveItems, Strings{"disc.iso: '" + label + "'"});
    EXPECT_EQ(s.info("0.BIN")[FieldPeripherals], "Standard Digital Control Pad, Light Gun.");
}

TEST_F(GeneratedImages, RootNamesLoseTheirVersionSuffix)
{
    auto disc = openImageFile(iso.string());
    ASSERT_TRUE(disc);
    std::vector<DirEntry> entries;
    ASSERT_TRUE(disc->listRoot(entries));
    Strings names;
    for (const auto& e : entries)
        names.push_back(e.name);
    EXPECT_EQ(names, (Strings{"0.BIN", "README", "SMALL.BIN"}));
    std::vector<std::uint8_t> data;
    EXPECT_TRUE(disc->readFileStart("README", 1000, data));
    EXPECT_EQ(data.size(), 300u);
    EXPECT_FALSE(disc->readFileStart("MISSING", 16, data));
}

TEST_F(GeneratedImages, RawSectorImagesWithAndWithoutCueSheet)
{
    test::makeRawImage(iso, dir / "raw.bin", dir / "raw.cue");
    test::makeRawImage(iso, dir / "lone.bin");
    for (const char* name : {"raw.cue", "raw.bin", "lone.bin"}) {
        ImageScan s;
        EXPECT_EQ(s.scan(dir / name), (Strings{"(system area)", "0.BIN"})) << name;
        EXPECT_EQ(s.info("0.BIN")[FieldAreas], "Europe PAL, East Asia PAL, Central South America PAL.") << name;
        EXPECT_EQ(s.info("(system area)")[FieldTitle].substr(0, 7), "SYSTEM ") << name;
    }
}

TEST_F(GeneratedImages, ImageCutShortGivesFaultsNotCrashes)
{
    // Keep the volume descriptors and the root directory, lose the files' sectors.
    auto data = test::readFile(iso);
    data.resize(20 * 2048);
    test::writeFile(dir / "cut.iso", data);
    ImageScan s;
    const Strings items = s.scan(dir / "cut.iso");
    EXPECT_EQ(std::count(items.begin(), items.end(), "0.BIN"), 0);
}

TEST_F(GeneratedImages, HeaderCutMidwayGivesTheReadFault)
{
    // 0.BIN is listed; then the image is cut 100 bytes into it: the directory still claims
    // 2304 bytes, the read comes up short after the peripherals.
    ImageScan s;
    ASSERT_EQ(s.scan(iso), (Strings{"(system area)", "0.BIN"}));
    const auto data = test::readFile(iso);
    std::size_t start = 0;
    for (std::size_t sector = 17; start == 0 && (sector + 1) * 2048 <= data.size(); ++sector)
        if (isAipIdentifier(data.data() + sector * 2048, 2048))
            start = sector * 2048;
    ASSERT_GT(start, 0u);
    fs::resize_file(iso, start + 100);
    std::vector<test::Message> messages;
    auto fields = s.info("0.BIN", &messages);
    EXPECT_EQ(messages, (std::vector<test::Message>{{kMsgAipReadFault, kCaptionProblem}}));
    EXPECT_EQ(fields.size(), 8u);
    EXPECT_EQ(fields[FieldPeripherals], "Standard Digital Control Pad, Light Gun.");
}

TEST(BrokenImages, AreRefused)
{
    test::TempDir dir;
    std::vector<std::uint8_t> garbage(64 * 1024);
    std::uint32_t x = 12345;
    for (auto& b : garbage)
        b = static_cast<std::uint8_t>((x = x * 1103515245 + 12345) >> 24);
    test::writeFile(dir / "garbage.iso", garbage);
    test::writeFile(dir / "garbage.bin", garbage);
    test::writeFile(dir / "empty.iso", {});
    auto head = test::readFile(kDiscs / "saturn-test.iso");
    head.resize(10 * 1024);
    test::writeFile(dir / "head.iso", head);
    {
        std::ofstream cue(dir / "broken.cue");
        cue << "FILE \"missing.bin\" BINARY\n  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n";
    }
    fs::create_directory(dir / "folder.iso");

    SystemDriveAccess access(false);
    for (const char* name :
         {"garbage.iso", "garbage.bin", "empty.iso", "head.iso", "broken.cue", "folder.iso", "missing.iso"})
        EXPECT_FALSE(access.addImage((dir / name).string())) << name;
    EXPECT_TRUE(access.cdRomDrives().empty());
}

TEST(ImageNames, AreUniqueAndAnImageIsAddedOnce)
{
    test::TempDir dir;
    fs::create_directory(dir / "other");
    fs::copy_file(kDiscs / "saturn-test.iso", dir / "saturn-test.iso");
    SystemDriveAccess access(false);
    auto a = access.addImage((kDiscs / "saturn-test.iso").string());
    auto again = access.addImage((kDiscs / "saturn-test.iso").string());
    auto b = access.addImage((dir / "saturn-test.iso").string());
    ASSERT_TRUE(a && again && b);
    EXPECT_EQ(a->name, "saturn-test.iso");
    EXPECT_EQ(again->source, a->source);
    EXPECT_EQ(b->name, "saturn-test.iso#2");
    EXPECT_EQ(access.cdRomDrives().size(), 2u);
}

TEST(ImageDrive, ImageRemovedAfterListingIsNotReady)
{
    test::TempDir dir;
    fs::copy_file(kDiscs / "saturn-test.iso", dir / "x.iso");
    ImageScan s;
    ASSERT_TRUE(s.access.addImage((dir / "x.iso").string()));
    ASSERT_TRUE(listCdDrives(s.view, s.state, s.access));
    fs::remove(dir / "x.iso");
    s.view.selectedDrive = s.view.driveItems.at(0);
    scanForAips(s.view, s.state, s.access);
    EXPECT_EQ(s.view.messages, (std::vector<test::Message>{{kMsgDriveNotReady, kCaptionError}}));
}

TEST(ManyFiles, AllHeadersOfALargeRootAreListed)
{
    test::TempDir dir;
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> files;
    const auto header = test::makeHeader({.size = 300});
    for (int i = 0; i < 600; ++i)
        files.emplace_back("H" + std::to_string(i) + ".BIN", header);
    ASSERT_TRUE(test::makeIso(dir / "many.iso", "MANY", files));
    ImageScan s;
    EXPECT_EQ(s.scan(dir / "many.iso").size(), 600u);
}

TEST(Devices, NamesAreTheDeviceFileNames)
{
    EXPECT_EQ(deviceDisplayName("/dev/sr0"), "sr0");
    EXPECT_EQ(deviceDisplayName("/dev/cdroms/cdrom1"), "cdrom1");
    for (const std::string& device : listCdRomDevices())
        EXPECT_FALSE(deviceDisplayName(device).empty());
}

} // namespace
} // namespace korvax
