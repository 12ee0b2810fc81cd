#include "shell/settings.h"

namespace vortastr {
namespace {

struct DipValueNames {
    GameId game;
    const char* bankA;
    const char* bankB;
};

// In store order. The names are kept exactly as existing settings files have them.
constexpr DipValueNames kDipValueNames[] = {
    {CrystalCastles, "Crystal Castles 1", "Crystal Castles 2"},
    {PandorasPalace, "Pandora 1", "Pandora 2"},
    {Tutankham, "Tutankham 1", "Tutankham 2"},
    {VortaStrike, "Vorta Strike 1", "Vorta Strike 2"},
    {VortaStrikeBootleg, "Vorta Strike Bootleg 1", "Vorta Strike Bootleg 2"},
    {IronHorse, "Game DIPSW 13", "Game DIPSW2 13"},
    {TrackNField, "TracknField 1", "TracknField 2"},
    {WhizQuiz, "WhizQuiz 1", "WhizQuiz 2"},
    {HyperSports, "Hypersports 1", "Hypersports 2"},
    {ShaolinsRoad, "Shaolins Road 1", "Shaolins Road 2"},
    {RoadFighters, "RoadFighters 1", "RoadFighters 2"},
    {RockNRope, "RocknRope 1", "RocknRope 2"},
    {RopeMan, "Ropeman 1", "Ropeman 2"},
    {CircusCharlie, "Circus Charlie 1", "Circus Charlie 2"},
    {CircusCharlie2, "Circus Charlie2 1", "Circus Charlie2 2"},
    {JailBreak, "Jail Break 1", "Jail Break 2"},
    {Tazmania, "Tazmania 1", "Tazmania 2"},
    {SuperBond, "SuperBond 1", "SuperBond 2"},
    {Scramble, "Scramble 1", "Scramble 2"},
    {MasterT, "MasterT 1", "MasterT 2"},
    {HeroTonma, "LOHT 1", "LOHT I 2"},
    {DragonBreed, "DBreed 1", "DBreed I 2"},
    {RType, "RType I 1", "RType I 2"},
    {RTypeJapanese, "RType I JP 1", "RType I JP 2"},
    {RType2, "RType II 1", "RType II 2"},
    {Kengo, "Kengo 1", "Kengo II 2"},
    {RTypeLeo, "RType Leo 1", "RType Leo 2"},
    {UnderCps, "UnderCops 1", "UnderCops 2"},
    {InTheHunt, "In The Hunt 1", "In The Hunt 2"},
    {MegaZone, "MegaZone 1", "MegaZone 2"},
    {NewZealandStory, "NZ Story 1", "NZ Story 2"},
};

} // namespace

std::vector<SettingEntry> settingsTable(Settings& s)
{
    std::vector<SettingEntry> table = {
        {"Screen Size X", 4, &s.windowScaleX, 0, 1},   {"Screen Size Y", 4, &s.windowScaleY, 0, 1},
        {"Frame Display", 4, &s.frameDisplay, 0, 1},   {"Palette Cycling", 4, &s.paletteCycling, 0, 0},
        {"FullScreen", 4, &s.fullScreenSetting, 0, 0},
    };
    for (const DipValueNames& names : kDipValueNames) {
        const auto game = static_cast<std::size_t>(names.game);
        table.push_back({names.bankA, 4, &s.savedDipA[game], 0, kLeaveUnchanged});
        table.push_back({names.bankB, 4, &s.savedDipB[game], 0, kLeaveUnchanged});
    }
    table.push_back({"JoyStick", 4, &s.joystickSetting, 0, 0});
    table.push_back({"Sound", 4, &s.soundSetting, 0, 1});
    return table;
}

int loadSettings(const std::vector<SettingEntry>& table, SettingsStore& store)
{
    if (!store.openForReading())
        return 0;
    for (const SettingEntry& row : table) {
        if (row.kind != 0 && row.kind != 1)
            continue;
        const std::optional<int32_t> value = store.readDword(row.name);
        if (value)
            *row.target = *value;
        else if (row.kind == 1 || row.defaultValue != kLeaveUnchanged)
            *row.target = row.defaultValue;
    }
    return 1;
}

int saveSettings(const std::vector<SettingEntry>& table, SettingsStore& store)
{
    if (!store.openForWriting())
        return 0;
    for (const SettingEntry& row : table)
        if (row.kind == 0 || row.kind == 1)
            store.writeDword(row.name, *row.target);
    return store.commit() ? 1 : 0;
}

} // namespace vortastr
