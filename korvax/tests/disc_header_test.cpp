#include <gtest/gtest.h>

#include "core/code_tables.h"
#include "core/disc_header.h"
#include "image_maker.h"

namespace korvax {
namespace {

std::vector<std::uint8_t> bytes(const std::string& s) { return {s.begin(), s.end()}; }

TEST(AipIdentifier, RequiresTheExactSixteenBytes)
{
    EXPECT_TRUE(isAipIdentifier(bytes("SEGA SEGASATURN ").data(), 16));
    EXPECT_TRUE(isAipIdentifier(bytes("SEGA SEGASATURN xyz").data(), 19));
    const std::vector<std::uint8_t> noSpace = {'S', 'E', 'G', 'A', ' ', 'S', 'E', 'G',
                                               'A', 'S', 'A', 'T', 'U', 'R', 'N', 0};
    EXPECT_FALSE(isAipIdentifier(noSpace.data(), noSpace.size()));
    EXPECT_FALSE(isAipIdentifier(bytes("SEGA SEGASATURN").data(), 15));
    EXPECT_FALSE(isAipIdentifier(bytes("sega segasaturn ").data(), 16));
    EXPECT_FALSE(isAipIdentifier(nullptr, 16));
}

TEST(DiscHeader, ReadsTheFieldsOfThePublishedLayout)
{
    const auto data = test::makeHeader({"JU", "JAM", "J:TITLE", 256});
    DiscHeader h;
    ASSERT_EQ(readDiscHeader(data.data(), data.size(), h), HeaderFieldCount);
    EXPECT_EQ(h.fields[FieldHardwareId], "SEGA SEGASATURN ");
    EXPECT_EQ(h.fields[FieldManufacturerId], "SEGA TP T-000   ");
    EXPECT_EQ(h.fields[FieldProductNumber], "T-00001G  ");
    EXPECT_EQ(h.fields[FieldVersion], "V1.000");
    EXPECT_EQ(h.fields[FieldReleaseDate], "19950101");
    EXPECT_EQ(h.fields[FieldDeviceInfo], "CD-1/1  ");
    EXPECT_EQ(h.fields[FieldAreas], "JU        ");
    EXPECT_EQ(h.fields[FieldPeripherals], "JAM             ");
    EXPECT_EQ(h.fields[FieldTitle], "J:TITLE" + std::string(105, ' '));
    EXPECT_EQ(headerFieldText(h, FieldAreas), "Japan, N.America (U.S., Canada), Central South America (Brazil).");
    EXPECT_EQ(headerFieldText(h, FieldTitle), h.fields[FieldTitle]);
    EXPECT_EQ(headerFieldText(h, HeaderFieldCount), "");
}

TEST(DiscHeader, FieldEndsAtItsFirstZeroByte)
{
    auto data = test::makeHeader();
    data[16 + 4] = 0; // "SEGA\0..."
    DiscHeader h;
    ASSERT_EQ(readDiscHeader(data.data(), data.size(), h), HeaderFieldCount);
    EXPECT_EQ(h.fields[FieldManufacturerId], "SEGA");
    EXPECT_EQ(h.fields[FieldProductNumber], "T-00001G  ");
}

TEST(DiscHeader, CodesCountAnywhereInTheirFieldEvenAfterAZeroByte)
{
    auto data = test::makeHeader({"J", "J"});
    data[64 + 1] = 0;
    data[64 + 9] = 'E';
    data[80 + 1] = 0;
    data[80 + 15] = 'T';
    DiscHeader h;
    ASSERT_EQ(readDiscHeader(data.data(), data.size(), h), HeaderFieldCount);
    EXPECT_EQ(h.fields[FieldAreas], "J");
    EXPECT_EQ(headerFieldText(h, FieldAreas), "Japan, Europe PAL, East Asia PAL, Central South America PAL.");
    EXPECT_EQ(headerFieldText(h, FieldPeripherals), "Standard Digital Control Pad, Multi-tap.");
}

TEST(DiscHeader, ShortDataReadsOnlyWholeFields)
{
    const auto full = test::makeHeader();
    const std::pair<std::size_t, int> cases[] = {
        {0, 0},  {15, 0}, {16, 1}, {41, 2}, {63, 5},  {64, 6},  {73, 6},
        {74, 7}, {79, 7}, {95, 7}, {96, 8}, {207, 8}, {208, 9},
    };
    for (const auto& [size, fields] : cases) {
        DiscHeader h;
        EXPECT_EQ(readDiscHeader(full.data(), size, h), fields) << "size " << size;
        for (int i = fields; i < HeaderFieldCount; ++i)
            EXPECT_TRUE(h.fields[i].empty()) << "size " << size << " field " << i;
    }
}

struct DecodeCase {
    const char* field;
    const char* text;
};

TEST(CodeTables, AreasInTableOrder)
{
    const DecodeCase cases[] = {
        {"JTUE      ", "Japan, Asia NTSC (Taiwan, Phillipines, Korea), N.America (U.S., Canada), Central South America "
                       "(Brazil), Europe PAL, East Asia PAL, Central South America PAL."},
        {"EUTJ", "Japan, Asia NTSC (Taiwan, Phillipines, Korea), N.America (U.S., Canada), Central South "
                 "America (Brazil), Europe PAL, East Asia PAL, Central South America PAL."},
        {"          ", ""},
        {"jtue", ""},
        {"   E", "Europe PAL, East Asia PAL, Central South America PAL."},
        {"LABK", "Central South America NTSC (Brazil), Korea, East Asia PAL, Central South America PAL."},
        {"XYZ", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodeAreas(c.field), c.text) << c.field;
}

TEST(CodeTables, PeripheralsInTableOrder)
{
    const DecodeCase cases[] = {
        {"J               ", "Standard Digital Control Pad."},
        {"JAM", "Standard Digital Control Pad, Analogue Controller, Mouse."},
        {"TSKMAJ", "Standard Digital Control Pad, Analogue Controller, Mouse, Keyboard, Steering Wheel, Multi-tap."},
        {"PFQXDCERWG", "Light Gun, RAM Cartridge, ROM Cartridge, 3D Control Pad, Link Cable, Modem, Network "
                       "Adaptor, Pachinko Controller, Floppy Disk Drive, Video CD Card."},
        {"", ""},
        {"JJ", "Standard Digital Control Pad."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodePeripherals(c.field), c.text) << c.field;
    // The classic entries come first, in their order.
    ASSERT_GE(areaCodes().size(), 4u);
    EXPECT_EQ(std::string(1, areaCodes()[3].code), "E");
    ASSERT_GE(peripheralCodes().size(), 6u);
    EXPECT_EQ(std::string(1, peripheralCodes()[5].code), "T");
}

} // namespace
} // namespace korvax
