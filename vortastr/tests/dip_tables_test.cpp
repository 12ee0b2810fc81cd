#include "boards/dip_tables.h"

#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <set>

namespace vortastr::test {
namespace {

TEST(DipTables, DefaultBytesPerGame)
{
    struct Case {
        GameId game;
        uint8_t a, b;
    };
    const Case cases[] = {
        {VortaStrike, 0x00, 0x94},
        {VortaStrikeBootleg, 0x00, 0x94},
        {Tutankham, 0x00, 0x94},
        {TrackNField, 0x00, 0xAE},
        {HyperSports, 0x00, 0xB7},
        {RockNRope, 0x00, 0xC4},
        {CircusCharlie, 0x00, 0x84},
        {CircusCharlie2, 0x00, 0x84},
        {JailBreak, 0x00, 0x84},
        {RoadFighters, 0x00, 0x84},
        {MasterT, 0x00, 0x00},
        {RType, 0x00, 0x00},
        {HeroTonma, 0x00, 0x00},
        {RTypeLeo, 0x00, 0x00},
        // no table: both bytes 0
        {Tank, 0, 0},
        {Vanguard, 0, 0},
        {Eggs, 0, 0},
        {Zoar, 0, 0},
        {TunnelHunt, 0, 0},
        {SkyKid, 0, 0},
        {UnderCps, 0, 0},
        {NoGame, 0, 0},
        {static_cast<GameId>(39), 0, 0},
    };
    for (const Case& c : cases) {
        const DipBytes dips = dipDefaults(c.game);
        EXPECT_EQ(dips.a, c.a) << c.game;
        EXPECT_EQ(dips.b, c.b) << c.game;
    }
    DipBytes dirty{0xFF, 0xFF};
    setDipDefaults(CrystalCastles, dirty);
    EXPECT_EQ(dirty.a, 0);
    EXPECT_EQ(dirty.b, 0);
}

TEST(DipTables, RecordsAreWellFormed)
{
    const std::set<GameId> expected = {Tutankham,       VortaStrike,   VortaStrikeBootleg, TrackNField,    HyperSports,
                                       RockNRope,       CircusCharlie, JailBreak,          CircusCharlie2, RoadFighters,
                                       RType,           RType2,        RTypeLeo,           MasterT,        ShaolinsRoad,
                                       NewZealandStory, HeroTonma,     DragonBreed};
    std::set<GameId> seen;
    for (const DipRecord& record : dipTable()) {
        EXPECT_TRUE(seen.insert(record.game).second) << record.name;
        EXPECT_LE(record.settings.size(), static_cast<std::size_t>(kDipDialogSlots)) << record.name;
        uint8_t used[2] = {0, 0};
        for (const DipSetting& s : record.settings) {
            ASSERT_TRUE(s.bank == 0 || s.bank == 1) << record.name << " " << s.label;
            EXPECT_EQ(s.shift, std::countr_zero(s.mask)) << s.label;
            EXPECT_EQ(s.options.size(), 1u << std::popcount(s.mask)) << record.name << " " << s.label;
            EXPECT_LT(s.defaultOption, static_cast<int>(s.options.size())) << s.label;
            EXPECT_EQ(used[s.bank] & s.mask, 0) << record.name << " overlapping " << s.label;
            used[s.bank] |= s.mask;
        }
    }
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(coinList().size(), 16u);
    EXPECT_STREQ(coinList()[15], "FREE");
    EXPECT_STREQ(coinList()[7], "2/1");
}

TEST(DipTables, NamesAndLabelsAsTheDialogShowsThem)
{
    struct Case {
        GameId game;
        const char* name;
        std::size_t count;
        const char* firstLabel;
        const char* lastLabel;
    };
    const Case cases[] = {
        {VortaStrike, "Vorta Strike", 6, "Coin per Credit Slot 1", "Demo Sound"},
        {Tutankham, "Tutankham", 8, "Coin per Credit Slot 1", "Demo Sound"},
        {MasterT, "Major Title", 13, "No Players", "Test Mode"},
        {RType, "RType I", 15, "No Players", "Test Mode"},
        {ShaolinsRoad, "Shaolins Road", 16, "Dip SW1 1", "Dip SW2 8"},
        {HeroTonma, "Legend of Hero Tonma", 13, "No Players", "Test Mode"},
    };
    for (const Case& c : cases) {
        const DipRecord* record = findDipRecord(c.game);
        ASSERT_NE(record, nullptr) << c.game;
        EXPECT_STREQ(record->name, c.name);
        ASSERT_EQ(record->settings.size(), c.count) << c.name;
        EXPECT_STREQ(record->settings.front().label, c.firstLabel);
        EXPECT_STREQ(record->settings.back().label, c.lastLabel);
    }
    EXPECT_STREQ(findDipRecord(RType)->settings[4].label, "Coin  SW1 6");
    EXPECT_STREQ(findDipRecord(RType2)->settings[3].label, "Coin SW1 6");
    EXPECT_STREQ(findDipRecord(HyperSports)->settings[6].options[11], "Normal 8");
}

class ScriptedDialog : public DipDialogRunner {
public:
    std::function<int(DipDialogSession&)> script;
    int runs = 0;
    int runDipDialog(DipDialogSession& session) override
    {
        ++runs;
        return script(session);
    }
};

TEST(DipDialog, DefaultThenCancelChangesNothing)
{
    ScriptedDialog dialog;
    dialog.script = [](DipDialogSession& s) {
        s.select(2, 3);
        s.restoreDefaults();
        return 0;
    };
    DipBytes dips{0x37, 0x01};
    runDipDialog(VortaStrike, dips, dialog);
    EXPECT_EQ(dialog.runs, 1);
    EXPECT_EQ(dips.a, 0x37);
    EXPECT_EQ(dips.b, 0x01);
}

TEST(DipDialog, OkMergesTheChoicesIntoTheirBits)
{
    struct Case {
        GameId game;
        DipBytes before;
        int setting, option;
        DipBytes after;
    };
    const Case cases[] = {
        {MasterT, {0xF3, 0x00}, 1, 2, {0xFB, 0x00}},      // "Hard": bits 2-3 of dipA become 2
        {VortaStrike, {0x00, 0x94}, 0, 15, {0x0F, 0x94}}, // "FREE" in slot 1
        {VortaStrike, {0x00, 0x94}, 1, 7, {0x70, 0x94}},  // "2/1" in slot 2
        {RockNRope, {0x00, 0xC4}, 4, 15, {0x00, 0xFC}},   {HyperSports, {0x00, 0xB7}, 6, 0, {0x00, 0x07}},
        {VortaStrike, {0x00, 0x94}, 2, 9, {0x00, 0x94}},  // option outside the list is ignored
        {VortaStrike, {0x00, 0x94}, 40, 0, {0x00, 0x94}}, // so is a setting that does not exist
    };
    for (const Case& c : cases) {
        ScriptedDialog dialog;
        dialog.script = [&](DipDialogSession& s) {
            s.select(c.setting, c.option);
            return 1;
        };
        DipBytes dips = c.before;
        runDipDialog(c.game, dips, dialog);
        EXPECT_EQ(dips.a, c.after.a) << c.game << "/" << c.setting;
        EXPECT_EQ(dips.b, c.after.b) << c.game << "/" << c.setting;
    }
}

TEST(DipDialog, OpensOnTheCurrentBytesAndNotForGamesWithoutATable)
{
    ScriptedDialog dialog;
    std::vector<int> seen;
    dialog.script = [&](DipDialogSession& s) {
        for (int i = 0; i < s.settingCount(); ++i)
            seen.push_back(s.current(i));
        s.restoreDefaults();
        return 1;
    };
    DipBytes dips{0x2F, 0x63};
    runDipDialog(VortaStrike, dips, dialog);
    EXPECT_EQ(seen, (std::vector<int>{0xF, 0x2, 0x3, 0x0, 0x6, 0x0}));
    EXPECT_EQ(dips.a, 0x00); // Default then OK writes the defaults
    EXPECT_EQ(dips.b, 0x94);

    DipBytes none{0x12, 0x34};
    runDipDialog(Tank, none, dialog);
    runDipDialog(UnderCps, none, dialog);
    EXPECT_EQ(dialog.runs, 1);
    EXPECT_EQ(none.a, 0x12);
}

} // namespace
} // namespace vortastr::test
