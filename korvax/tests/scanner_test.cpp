#include <gtest/gtest.h>

#include <algorithm>

#include "core/memory_drive_access.h"
#include "core/messages.h"
#include "image_maker.h"
#include "recording_views.h"

namespace korvax {
namespace {

using test::Message;
using test::RecordingExploreView;
using test::RecordingInfoView;
using Strings = std::vector<std::string>;

MemoryDisc saturnDisc(const std::string& label)
{
    MemoryDisc disc;
    disc.label = label;
    disc.add("0.BIN", test::makeHeader());
    disc.systemArea = test::makeHeader({"U", "J", "J:SYSTEM", 32768});
    return disc;
}

Strings sorted(Strings v)
{
    std::sort(v.begin(), v.end());
    return v;
}

class ScannerTest : public ::testing::Test {
protected:
    // Lists the drives and scans the one whose item is given.
    void listAndScan(const std::string& item)
    {
        ASSERT_TRUE(listCdDrives(view, state, access));
        view.selectedDrive = item;
        scanForAips(view, state, access);
    }

    MemoryDriveAccess access;
    ScannerState state;
    RecordingExploreView view;
};

TEST_F(ScannerTest, NoDriveAtAllShowsOnlyTheNoDriveMessageOnce)
{
    EXPECT_FALSE(listCdDrives(view, state, access));
    EXPECT_EQ(view.messages, (std::vector<Message>{{kMsgNoCdDrives, kCaptionProblem}}));
    EXPECT_TRUE(view.closed);
    EXPECT_TRUE(view.driveItems.empty());
}

TEST_F(ScannerTest, DrivesWithoutDiscsShowTheNoDiscMessage)
{
    access.addDrive("sr0");
    access.addDrive("sr1");
    EXPECT_FALSE(listCdDrives(view, state, access));
    EXPECT_EQ(view.messages, (std::vector<Message>{{kMsgNoDisc, kCaptionProblem}}));
    EXPECT_TRUE(view.closed);
    EXPECT_EQ(state.drives.cdRomDrives.size(), 2u);
}

TEST_F(ScannerTest, OnlyTheSecondOfTwoDrivesReadyListsOneItemAndUsesItsOwnLabel)
{
    access.addDrive("sr0");
    access.addDrive("sr1", saturnDisc("SECOND"));
    ASSERT_TRUE(listCdDrives(view, state, access));
    EXPECT_EQ(view.driveItems, Strings{"sr1: 'SECOND'"});
    ASSERT_EQ(state.drives.readyDrives.size(), 1u);
    EXPECT_EQ(state.drives.readyDrives[0].drive.name, "sr1");

    view.selectedDrive = "sr1: 'SECOND'";
    scanForAips(view, state, access);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(state.currentLabel, "SECOND");
    EXPECT_EQ(sorted(view.aipItems), (Strings{"(system area)", "0.BIN"}));
    EXPECT_EQ(state.aips.entries[0].path, "sr1:\\0.BIN");
}

TEST_F(ScannerTest, EmptyLabelIsListedAsNoName)
{
    access.addDrive("sr0", saturnDisc(""));
    listAndScan("sr0: 'No Name'");
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(state.currentLabel, "No Name");
}

TEST_F(ScannerTest, ScanWithoutSelectionAsksForADriveAndStaysOpen)
{
    access.addDrive("sr0", saturnDisc("A"));
    ASSERT_TRUE(listCdDrives(view, state, access));
    scanForAips(view, state, access);
    EXPECT_EQ(view.messages, (std::vector<Message>{{kMsgSelectDrive, kCaptionProblem}}));
    EXPECT_FALSE(view.closed);
}

TEST_F(ScannerTest, DiscRemovedBeforeScanClosesTheDialog)
{
    access.addDrive("sr0", saturnDisc("A"));
    ASSERT_TRUE(listCdDrives(view, state, access));
    access.find("sr0")->disc.reset();
    view.selectedDrive = "sr0: 'A'";
    scanForAips(view, state, access);
    EXPECT_EQ(view.messages, (std::vector<Message>{{kMsgDriveNotReady, kCaptionError}}));
    EXPECT_TRUE(view.closed);
}

TEST_F(ScannerTest, DiscChangedBetweenListingAndScanKeepsThePreviousScan)
{
    access.addDrive("sr0", saturnDisc("FIRST"));
    listAndScan("sr0: 'FIRST'");
    ASSERT_EQ(view.aipItems.size(), 2u);

    access.find("sr0")->disc = saturnDisc("OTHER");
    scanForAips(view, state, access);
    EXPECT_EQ(view.messages, (std::vector<Message>{{kMsgDiscChanged, kCaptionProblem}}));
    EXPECT_FALSE(view.closed);
    EXPECT_EQ(view.aipItems.size(), 2u);
    EXPECT_EQ(state.currentLabel, "FIRST");
}

TEST_F(ScannerTest, LongLabelsAreComparedWhole)
{
    const std::string label(31, 'L');
    access.addDrive("sr0", saturnDisc(label + "1"));
    ASSERT_TRUE(listCdDrives(view, state, access));
    EXPECT_EQ(view.driveItems, Strings{"sr0: '" + label + "1'"});
    access.find("sr0")->disc->label = label + "2";
    view.selectedDrive = view.driveItems[0];
    scanForAips(view, state, access);
    EXPECT_EQ(view.messages, (std::vector<Message>{{kMsgDiscChanged, kCaptionProblem}}));
}

TEST_F(ScannerTest, OnlyLargeEnoughFilesWithTheIdentifierAreListed)
{
    MemoryDisc disc;
    disc.label = "FILTERS";
    auto header = test::makeHeader();
    disc.add("0.BIN", header);
    disc.add("SMALL.BIN", test::makeHeader({.size = 200}));
    disc.add("EXACT.BIN", test::makeHeader({.size = 256}));
    disc.add("JUST.BIN", test::makeHeader({.size = 257}));
    disc.add("ZIP.BIN", header);
    disc.add("AZX", header);
    disc.add("ABZ.BIN", header);
    disc.add("ABCZ.BIN", header); // Z only after the first three characters
    disc.add("abz.bin", header);  // lower case z is examined
    auto noSpace = header;
    noSpace[15] = 0;
    disc.add("NOSPACE.BIN", noSpace);
    disc.add("TEXT.TXT", std::vector<std::uint8_t>(4000, 'x'));
    disc.add("DIR", header);
    disc.root.back().second.isDirectory = true;
    disc.add("LOCKED.BIN", header);
    disc.root.back().second.openable = false;
    disc.add("SHORT.BIN", {header.begin(), header.begin() + 10});
    disc.root.back().second.reportedSize = 4096; // directory claims more than can be read
    disc.add("HUGE.BIN", header);
    disc.root.back().second.reportedSize = 0x100000000ull + 100; // low 32 bits: 100 bytes
    access.addDrive("sr0", disc);

    listAndScan("sr0: 'FILTERS'");
    EXPECT_EQ(sorted(view.aipItems), (Strings{"0.BIN", "ABCZ.BIN", "JUST.BIN", "abz.bin"}));
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(ScannerTest, UnreadableRootStillListsTheSystemArea)
{
    MemoryDisc disc = saturnDisc("X");
    disc.rootReadable = false;
    access.addDrive("sr0", disc);
    listAndScan("sr0: 'X'");
    EXPECT_EQ(view.aipItems, Strings{"(system area)"});
}

TEST_F(ScannerTest, SystemAreaWithoutIdentifierIsNotListed)
{
    MemoryDisc disc = saturnDisc("X");
    disc.systemArea.assign(32768, 0);
    access.addDrive("sr0", disc);
    listAndScan("sr0: 'X'");
    EXPECT_EQ(view.aipItems, Strings{"0.BIN"});
}

TEST_F(ScannerTest, MoreThan512AipsAreAllListedAndMatchedByName)
{
    MemoryDisc disc;
    disc.label = "MANY";
    for (int i = 999; i >= 0; --i) // directory order differs from the sorted list
        disc.add("F" + std::to_string(i) + ".BIN", test::makeHeader({.title = "T" + std::to_string(i)}));
    access.addDrive("sr0", disc);
    listAndScan("sr0: 'MANY'");
    EXPECT_EQ(view.aipItems.size(), 1000u);
    EXPECT_EQ(state.aips.entries.size(), 1000u);

    view.selectedAip = "F7.BIN";
    RecordingInfoView info;
    view.onInfoDialog = [&] { EXPECT_TRUE(displayAipHeader(info, state, access)); };
    showAipInfo(view, state);
    ASSERT_TRUE(state.selectedAip);
    EXPECT_EQ(state.selectedAip->path, "sr0:\\F7.BIN");
    EXPECT_EQ(info.fields[FieldTitle].substr(0, 3), "T7 ");
}

TEST_F(ScannerTest, ShowInfoWithoutSelectionAsks)
{
    access.addDrive("sr0", saturnDisc("A"));
    listAndScan("sr0: 'A'");
    showAipInfo(view, state);
    EXPECT_EQ(view.messages, (std::vector<Message>{{kMsgSelectAip, kCaptionProblem}}));
    EXPECT_EQ(view.infoDialogsOpened, 0);
    view.selectedAip = "NOT-LISTED.BIN";
    showAipInfo(view, state);
    EXPECT_EQ(view.messages.size(), 2u);
    EXPECT_EQ(view.infoDialogsOpened, 0);
}

class DisplayTest : public ScannerTest {
protected:
    void SetUp() override
    {
        MemoryDisc disc = saturnDisc("DISPLAY");
        disc.add("CUT.BIN", test::makeHeader());
        access.addDrive("sr0", disc);
        listAndScan("sr0: 'DISPLAY'");
    }
    void select(const std::string& name)
    {
        view.selectedAip = name;
        showAipInfo(view, state);
        ASSERT_EQ(view.infoDialogsOpened, 1);
    }
    RecordingInfoView info;
};

TEST_F(DisplayTest, ShowsTheNineFieldsDecoded)
{
    select("0.BIN");
    EXPECT_TRUE(displayAipHeader(info, state, access));
    EXPECT_TRUE(info.messages.empty());
    ASSERT_EQ(info.fields.size(), 9u);
    EXPECT_EQ(info.fields[FieldHardwareId], "SEGA SEGASATURN ");
    EXPECT_EQ(info.fields[FieldPeripherals], "Standard Digital Control Pad, Analogue Controller, Mouse.");
    EXPECT_EQ(info.fields[FieldAreas].substr(0, 7), "Japan, ");
}

TEST_F(DisplayTest, ShowsTheSystemAreaHeader)
{
    select("(system area)");
    EXPECT_TRUE(displayAipHeader(info, state, access));
    EXPECT_EQ(info.fields[FieldTitle].substr(0, 9), "J:SYSTEM ");
    EXPECT_EQ(info.fields[FieldAreas], "N.America (U.S., Canada), Central South America (Brazil).");
}

TEST_F(DisplayTest, DiscChangedSinceTheScanClosesTheDialog)
{
    select("0.BIN");
    access.find("sr0")->disc->label = "OTHER";
    EXPECT_FALSE(displayAipHeader(info, state, access));
    EXPECT_EQ(info.messages, (std::vector<Message>{{kMsgDiscChanged, kCaptionProblem}}));
    EXPECT_TRUE(info.closed);
    EXPECT_TRUE(info.fields.empty());
}

TEST_F(DisplayTest, DiscRemovedSinceTheScanCountsAsChanged)
{
    select("0.BIN");
    access.find("sr0")->disc.reset();
    EXPECT_FALSE(displayAipHeader(info, state, access));
    EXPECT_EQ(info.messages, (std::vector<Message>{{kMsgDiscChanged, kCaptionProblem}}));
}

TEST_F(DisplayTest, SameLabelOtherDiscIsNotNoticed)
{
    select("0.BIN");
    MemoryDisc other;
    other.label = "DISPLAY";
    other.add("0.BIN", test::makeHeader({.title = "OTHER DISC"}));
    access.find("sr0")->disc = other;
    EXPECT_TRUE(displayAipHeader(info, state, access));
    EXPECT_EQ(info.fields[FieldTitle].substr(0, 10), "OTHER DISC");
}

TEST_F(DisplayTest, FileGoneGivesTheOpenFault)
{
    select("0.BIN");
    access.find("sr0")->disc->root.front().second.openable = false;
    EXPECT_FALSE(displayAipHeader(info, state, access));
    EXPECT_EQ(info.messages, (std::vector<Message>{{kMsgAipOpenFault, kCaptionProblem}}));
    EXPECT_TRUE(info.closed);
}

TEST_F(DisplayTest, ShortReadKeepsTheFieldsAlreadyShown)
{
    select("CUT.BIN");
    auto& data = access.find("sr0")->disc->root.back().second.data;
    data.resize(70); // up to the areas field, which is cut
    EXPECT_FALSE(displayAipHeader(info, state, access));
    EXPECT_EQ(info.messages, (std::vector<Message>{{kMsgAipReadFault, kCaptionProblem}}));
    EXPECT_TRUE(info.closed);
    EXPECT_EQ(info.fields.size(), 6u);
    EXPECT_EQ(info.fields[FieldDeviceInfo], "CD-1/1  ");
}

TEST(DriveReady, ReadyMeansADiscCanBeOpened)
{
    MemoryDriveAccess access;
    access.addDrive("sr0");
    access.addDrive("sr1", MemoryDisc{});
    EXPECT_FALSE(isDriveReady(access, access.drives[0].ref));
    EXPECT_TRUE(isDriveReady(access, access.drives[1].ref));
    EXPECT_FALSE(isDriveReady(access, DriveRef{"nowhere", "/dev/nowhere", false}));
}

} // namespace
} // namespace korvax
