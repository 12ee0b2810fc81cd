#include "shell/settings.h"
#include "shell/startup.h"
#include "tests/fakes.h"
#include "tests/game_fixtures.h"

#include <gtest/gtest.h>

#include <set>

namespace vortastr::test {
namespace {

LaunchOptions gameLine(const std::string& line)
{
    LaunchOptions options;
    options.gameLine = line;
    return options;
}

TEST(SettingsTable, RowsAreInStoreOrderWithTheirExactNames)
{
    Settings s;
    const auto table = settingsTable(s);
    ASSERT_EQ(table.size(), 5u + 2u * 31u + 2u);
    const std::vector<std::string> head = {"Screen Size X", "Screen Size Y",     "Frame Display",     "Palette Cycling",
                                           "FullScreen",    "Crystal Castles 1", "Crystal Castles 2", "Pandora 1"};
    for (std::size_t i = 0; i < head.size(); ++i)
        EXPECT_EQ(table[i].name, head[i]) << i;
    EXPECT_STREQ(table[table.size() - 2].name, "JoyStick");
    EXPECT_STREQ(table[table.size() - 1].name, "Sound");

    // The odd names that existing settings files carry.
    struct Odd {
        const char* name;
        const int32_t* target;
    };
    const Odd odd[] = {{"Game DIPSW 13", &s.savedDipA[12]}, {"Game DIPSW2 13", &s.savedDipB[12]},
                       {"LOHT I 2", &s.savedDipB[35]},      {"DBreed I 2", &s.savedDipB[36]},
                       {"Kengo II 2", &s.savedDipB[37]},    {"Circus Charlie2 1", &s.savedDipA[19]}};
    for (const Odd& o : odd) {
        const auto row = std::find_if(table.begin(), table.end(),
                                      [&](const SettingEntry& e) { return std::string(e.name) == o.name; });
        ASSERT_NE(row, table.end()) << o.name;
        EXPECT_EQ(row->target, o.target) << o.name;
        EXPECT_EQ(row->defaultValue, -1) << o.name;
    }
    std::set<std::string> names;
    for (const SettingEntry& row : table) {
        EXPECT_EQ(row.size, 4);
        EXPECT_EQ(row.kind, 0);
        EXPECT_TRUE(names.insert(row.name).second) << "twice: " << row.name;
    }
}

TEST(SettingsStartUp, WithoutAStoreEverythingIsTheDefault)
{
    Emulator emu;
    MemoryStore store;
    store.exists = false;
    EXPECT_EQ(prepareStartUp(emu, store, {}), 0);
    EXPECT_EQ(emu.settings.frameDisplay, 1);
    EXPECT_EQ(emu.settings.soundSetting, 1);
    EXPECT_EQ(emu.settings.windowScaleX, 1);
    EXPECT_EQ(emu.settings.fullScreenSetting, 0);
    for (int32_t number = 0; number < kGameCount; ++number) {
        const GameId game = toGameId(number);
        const DipBytes expected = dipDefaults(game);
        EXPECT_EQ(emu.settings.savedDipA[game], expected.a) << game;
        EXPECT_EQ(emu.settings.savedDipB[game], expected.b) << game;
    }
    EXPECT_EQ(emu.settings.savedDipB[9], 0x94);
    EXPECT_EQ(emu.settings.savedDipB[15], 0xB7);
    EXPECT_EQ(emu.run.currentGame, 9);
}

TEST(SettingsStartUp, StoredDipValuesOverrideOnlyGamesWithRows)
{
    Emulator emu;
    MemoryStore store;
    Settings names;
    for (const SettingEntry& row : settingsTable(names))
        store.values[row.name] = 0x5A;
    store.values["Vorta Strike 2"] = 0x12;
    prepareStartUp(emu, store, {});
    EXPECT_EQ(emu.settings.savedDipB[9], 0x12);
    EXPECT_EQ(emu.settings.savedDipA[9], 0x5A);
    EXPECT_EQ(emu.run.dips.a, 0x5A); // the running game starts with its stored bytes
    EXPECT_EQ(emu.run.dips.b, 0x12);
    for (GameId game : {Tank, Vanguard, Eggs, Zoar, TunnelHunt, SkyKid, Unused5, Unused6}) {
        EXPECT_EQ(emu.settings.savedDipA[game], 0) << game;
        EXPECT_EQ(emu.settings.savedDipB[game], 0) << game;
    }
}

TEST(SettingsLoad, UnreadableValuesFollowTheirRowsDefault)
{
    struct Case {
        const char* name;
        std::optional<int32_t> stored; // nothing: present but unreadable
        bool present;
        int32_t before;
        int32_t expected;
    };
    const Case cases[] = {
        {"Frame Display", 3, true, 1, 3},                   // read
        {"Frame Display", std::nullopt, true, 4, 1},        // unreadable: default 1
        {"Frame Display", std::nullopt, false, 4, 1},       // missing: default 1
        {"Vorta Strike 1", std::nullopt, true, 0x33, 0x33}, // default -1: left alone
        {"Vorta Strike 1", std::nullopt, false, 0x33, 0x33},
        {"Sound", std::nullopt, false, 0, 1},
        {"JoyStick", 1, true, 0, 1},
    };
    for (const Case& c : cases) {
        Settings s;
        auto table = settingsTable(s);
        const auto row =
            std::find_if(table.begin(), table.end(), [&](auto& e) { return std::string(e.name) == c.name; });
        ASSERT_NE(row, table.end());
        *row->target = c.before;
        MemoryStore store;
        if (c.present)
            store.values[c.name] = c.stored;
        EXPECT_EQ(loadSettings(table, store), 1);
        EXPECT_EQ(*row->target, c.expected) << c.name;
    }
}

TEST(SettingsLoad, MissingStoreReadsNothingAndKindsBeyondOneAreSkipped)
{
    int32_t plain = 7, throughTemp = 7, other = 7;
    const std::vector<SettingEntry> table = {
        {"Plain", 4, &plain, 0, 1}, {"Temp", 4, &throughTemp, 1, -1}, {"Other", 4, &other, 2, 1}};
    MemoryStore missing;
    missing.exists = false;
    EXPECT_EQ(loadSettings(table, missing), 0);
    EXPECT_EQ(plain, 7);

    MemoryStore empty;
    empty.values["Other"] = 3;
    EXPECT_EQ(loadSettings(table, empty), 1);
    EXPECT_EQ(plain, 1);
    EXPECT_EQ(throughTemp, -1); // kind 1 takes its default even when that is -1
    EXPECT_EQ(other, 7);

    EXPECT_EQ(saveSettings(table, empty), 1);
    EXPECT_EQ(empty.writeOrder, (std::vector<std::string>{"Plain", "Temp"}));
}

TEST(SettingsSave, WritesEveryRowInOrderAndReportsAFailedCommit)
{
    Settings s;
    s.savedDipB[9] = 0x94;
    s.frameDisplay = 99;
    const auto table = settingsTable(s);
    MemoryStore store;
    EXPECT_EQ(saveSettings(table, store), 1);
    ASSERT_EQ(store.writeOrder.size(), table.size());
    for (std::size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(store.writeOrder[i], table[i].name);
    EXPECT_EQ(store.values["Vorta Strike 2"], 0x94);
    EXPECT_EQ(store.values["Frame Display"], 99);

    store.commitFails = true;
    EXPECT_EQ(saveSettings(table, store), 0);
}

TEST(SettingsRun, ANormalEndWritesTheRunBack)
{
    Emulator emu;
    FakeHost host;
    MemoryStore store;
    store.values["Sound"] = 0;
    store.values["JoyStick"] = 1;
    store.values["Tutankham 2"] = 0x21;
    LaunchOptions options = gameLine("TK");
    options.frames = 2;
    TempFolder roms;
    writeBlankRomSet(roms, Tutankham);
    options.romPath = roms.str();
    host.onPump = [&] { emu.run.dips.a = 0x42; };
    EXPECT_EQ(runEmulator(emu, host, store, options), 0);
    EXPECT_EQ(emu.run.soundEnabled, 0);
    EXPECT_EQ(store.values["Sound"], 0);
    EXPECT_EQ(store.values["JoyStick"], 0); // no joystick present: the keyboard is kept
    EXPECT_EQ(store.values["Tutankham 1"], 0x42);
    EXPECT_EQ(store.values["Tutankham 2"], 0x21);
    EXPECT_EQ(store.values["Vorta Strike 2"], 0x94);
    EXPECT_FALSE(host.windowExists);
    EXPECT_TRUE(host.messages.empty());
}

TEST(SettingsRun, SettingsThatCannotBeSavedAreReported)
{
    Emulator emu;
    FakeHost host;
    MemoryStore store;
    store.commitFails = true;
    LaunchOptions options;
    options.frames = 1;
    TempFolder roms;
    writeBlankRomSet(roms, VortaStrike);
    options.romPath = roms.str();
    EXPECT_EQ(runEmulator(emu, host, store, options), 0);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "Emulator Warning");
    EXPECT_NE(host.messages[0].text.find("Couldn't save the settings"), std::string::npos);
}

TEST(SettingsRun, FullScreenWithoutAUsableModeStopsWithAMessageAndWritesNothing)
{
    Emulator emu;
    FakeHost host;
    host.output.modes = {{640, 480, 16}, {800, 600, 16}, {400, 300, 8}};
    MemoryStore store;
    store.values["FullScreen"] = 1;
    LaunchOptions options;
    options.frames = 1;
    EXPECT_EQ(runEmulator(emu, host, store, options), 1);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, kNoFullScreenModeMessage);
    EXPECT_EQ(host.messages[0].caption, "Emulator Error");
    EXPECT_TRUE(store.writeOrder.empty());
    EXPECT_EQ(host.pumps, 0);
    EXPECT_FALSE(host.windowExists);
}

TEST(SettingsRun, WindowThatCannotBeCreatedEndsAtOnce)
{
    Emulator emu;
    FakeHost host;
    host.windowCreates = false;
    MemoryStore store;
    EXPECT_EQ(runEmulator(emu, host, store, {}), 1);
    EXPECT_TRUE(store.writeOrder.empty());
    EXPECT_EQ(host.pumps, 0);
}

} // namespace
} // namespace vortastr::test
