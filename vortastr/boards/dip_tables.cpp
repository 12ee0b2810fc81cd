#include "boards/dip_tables.h"

#include <bit>

namespace vortastr {
namespace {

constexpr const char* kCoins[] = {"1/1", "1/2", "1/3", "1/4", "1/5", "1/6", "1/7", "2/1",
                                  "2/3", "2/5", "3/1", "3/2", "3/4", "4/1", "4/3", "FREE"};
constexpr const char* kOffOn[] = {"OFF", "ON"};
constexpr const char* kTableUprightCaps[] = {"TABLE", "UPRIGHT"};
constexpr const char* kTableUpright[] = {"Table", "Upright"};
constexpr const char* kLives255[] = {"3", "4", "5", "255"};
constexpr const char* kEightDifficulties[] = {"REAL EASY", "EASY", "-", "NORMAL", "-", "HARDER", "-", "HARDEST"};
constexpr const char* kSixteenDifficulties[] = {
    "Easy 1",   "Easy 2",   "Easy 3",   "Easy 4",   "Normal 1",    "Normal 2",    "Normal 3",    "Normal 4",
    "Normal 5", "Normal 6", "Normal 7", "Normal 8", "Difficult 1", "Difficult 2", "Difficult 3", "Difficult 4"};
constexpr const char* kDataRemains[] = {"Data entered remains", "Data entered erased"};
constexpr const char* kPlayers3245[] = {"3", "2", "4", "5"};
constexpr const char* kIremDifficulty[] = {"Normal", "Easy", "Hard", "Very Easy"};
constexpr const char* kNormalReverse[] = {"Normal", "Reverse"};
constexpr const char* kYesNo[] = {"Yes", "No"};
constexpr const char* kNoYes[] = {"No", "Yes"};
constexpr const char* kCoinMode[] = {"Mode 1", "Mode 2"};
constexpr const char* kGameStyle4[] = {"Table", "Upright", "2 player", "2 player"};

DipSetting row(int32_t bank, uint8_t mask, int32_t defaultOption, const char* label,
               std::span<const char* const> options)
{
    return {bank, mask, static_cast<uint8_t>(std::countr_zero(mask)), defaultOption, label, options};
}

std::vector<DipSetting> coinRows()
{
    return {row(0, 0x0F, 0, "Coin per Credit Slot 1", kCoins), row(0, 0xF0, 0, "Coin per Credit Slot 2", kCoins)};
}

std::vector<DipSetting> withCoins(std::vector<DipSetting> rows)
{
    std::vector<DipSetting> all = coinRows();
    all.insert(all.end(), rows.begin(), rows.end());
    return all;
}

std::vector<DipSetting> vortaStrikeRows()
{
    static constexpr const char* ships[] = {"3", "4", "5", "99"};
    return withCoins({row(1, 0x03, 0, "No of Ships", ships), row(1, 0x04, 1, "Cabinet Type", kTableUprightCaps),
                      row(1, 0x70, 1, "Game Difficulty", kEightDifficulties), row(1, 0x80, 1, "Demo Sound", kOffOn)});
}

std::vector<DipSetting> tutankhamRows()
{
    static constexpr const char* players[] = {"3", "4", "5", "256"};
    static constexpr const char* bonus[] = {"30,000", "40,000"};
    static constexpr const char* difficulty[] = {"1 (EASY)", "2", "3", "4 (DIFFICULT)"};
    static constexpr const char* bombs[] = {"one flash per player", "three flashes per player + 1 at 200 pts"};
    return withCoins({row(1, 0x03, 0, "No of Players", players), row(1, 0x04, 1, "Cabinet Type", kTableUprightCaps),
                      row(1, 0x08, 0, "Bonus Set", bonus), row(1, 0x30, 1, "Game Difficulty", difficulty),
                      row(1, 0x40, 0, "Number of Flash Bombs", bombs), row(1, 0x80, 1, "Demo Sound", kOffOn)});
}

std::vector<DipSetting> trackAndFieldRows()
{
    static constexpr const char* athletes[] = {"1", "2"};
    static constexpr const char* extended[] = {"No extended round", "Extended round"};
    static constexpr const char* bonus[] = {"None", "First 100,100 and every 100,000"};
    static constexpr const char* difficulty[] = {"Easy", "Normal", "Hard", "Difficult"};
    return withCoins({row(1, 0x01, 0, "No of Athletes", athletes), row(1, 0x02, 1, "Extended Round", extended),
                      row(1, 0x04, 1, "Cabinet Type", kTableUpright), row(1, 0x08, 1, "Bonus Players", bonus),
                      row(1, 0x10, 0, "Ranking (Erase Scores on Reset)", kDataRemains),
                      row(1, 0x60, 1, "Game Difficulty", difficulty), row(1, 0x80, 1, "Demo Sound", kOffOn)});
}

std::vector<DipSetting> hyperSportsRows()
{
    static constexpr const char* lastEvent[] = {"Gameover after 7th event", "Game continues after 7th event"};
    return withCoins({row(1, 0x01, 1, "Last Event Settings", lastEvent), row(1, 0x02, 1, "Cabinet Type", kTableUpright),
                      row(1, 0x04, 1, "Demo Sound", kOffOn),
                      row(1, 0x08, 0, "Ranking (Erase Scores on Reset)", kDataRemains),
                      row(1, 0xF0, 11, "Game Difficulty", kSixteenDifficulties)});
}

std::vector<DipSetting> rockNRopeRows()
{
    return withCoins({row(1, 0x03, 0, "No Lives", kLives255), row(1, 0x04, 1, "Cabinet Type", kTableUpright),
                      row(1, 0x78, 8, "Game Difficulty", kSixteenDifficulties), row(1, 0x80, 1, "Demo Sound", kOffOn)});
}

std::vector<DipSetting> circusCharlieRows()
{
    static constexpr const char* bonus[] = {"First Bonus at 20000,70000", "First Bonus at 30000,80000"};
    return withCoins({row(1, 0x03, 0, "No Lives", kLives255), row(1, 0x04, 1, "Cabinet Type", kTableUpright),
                      row(1, 0x08, 0, "Bonus Players", bonus), row(1, 0x10, 0, "Dip SW2 5", kOffOn),
                      row(1, 0x20, 0, "Dip SW2 6", kOffOn), row(1, 0x40, 0, "Dip SW2 7", kOffOn),
                      row(1, 0x80, 1, "Demo Sound", kOffOn)});
}

std::vector<DipSetting> jailBreakRows()
{
    return withCoins({row(1, 0x01, 0, "Dip SW2 1", kOffOn), row(1, 0x02, 0, "Dip SW2 2", kOffOn),
                      row(1, 0x04, 1, "Cabinet Type", kTableUpright), row(1, 0x08, 0, "Dip SW2 4", kOffOn),
                      row(1, 0x10, 0, "Dip SW2 5", kOffOn), row(1, 0x20, 0, "Dip SW2 6", kOffOn),
                      row(1, 0x40, 0, "Dip SW2 7", kOffOn), row(1, 0x80, 1, "Demo Sound", kOffOn)});
}

// Games 31 and 29 differ only in the names of the four upper switches of bank A.
std::vector<DipSetting> iremTwoBankRows(const char* const upperLabels[4])
{
    return {row(0, 0x03, 0, "No Players", kPlayers3245),
            row(0, 0x0C, 0, "Difficulty", kIremDifficulty),
            row(0, 0x10, 0, upperLabels[0], kOffOn),
            row(0, 0x20, 0, upperLabels[1], kOffOn),
            row(0, 0x40, 0, upperLabels[2], kOffOn),
            row(0, 0x80, 0, upperLabels[3], kOffOn),
            row(1, 0x01, 0, "Screen Rotation", kNormalReverse),
            row(1, 0x02, 0, "Demo Sound", kYesNo),
            row(1, 0x04, 0, "Coin Mode", kCoinMode),
            row(1, 0x18, 0, "Game Style", kGameStyle4),
            row(1, 0x20, 0, "Stop Mode", kNoYes),
            row(1, 0x40, 0, "Debug (Keep OFF)", kOffOn),
            row(1, 0x80, 0, "Test Mode", kOffOn)};
}

std::vector<DipSetting> rTypeRows()
{
    static constexpr const char* bonus[] = {"10;20;35;50;700k", "5;15;25;40;600k"};
    static constexpr const char* difficulty[] = {"Normal", "V. Difficult"};
    return {row(0, 0x03, 0, "No Players", kPlayers3245),
            row(0, 0x04, 0, "Demo Sound", kYesNo),
            row(0, 0x08, 0, "Bonus", bonus),
            row(0, 0x10, 0, "Coin SW1 5", kOffOn),
            row(0, 0x20, 0, "Coin  SW1 6", kOffOn),
            row(0, 0x40, 0, "Coin  SW1 7", kOffOn),
            row(0, 0x80, 0, "Coin  SW1 8", kOffOn),
            row(1, 0x01, 0, "Screen Reverse", kNormalReverse),
            row(1, 0x02, 0, "Game Style", kTableUpright),
            row(1, 0x04, 0, "Coin Mode", kCoinMode),
            row(1, 0x08, 0, "Difficulty", difficulty),
            row(1, 0x10, 0, "Continue Mode", kYesNo),
            row(1, 0x20, 0, "Stop Mode", kNoYes),
            row(1, 0x40, 0, "No Death Mode", kNoYes),
            row(1, 0x80, 0, "Test Mode", kNoYes)};
}

// Sixteen plain switches, "Dip SW1 1" to "Dip SW2 8".
std::vector<DipSetting> plainSwitchRows()
{
    static constexpr const char* labels[16] = {
        "Dip SW1 1", "Dip SW1 2", "Dip SW1 3", "Dip SW1 4", "Dip SW1 5", "Dip SW1 6", "Dip SW1 7", "Dip SW1 8",
        "Dip SW2 1", "Dip SW2 2", "Dip SW2 3", "Dip SW2 4", "Dip SW2 5", "Dip SW2 6", "Dip SW2 7", "Dip SW2 8"};
    std::vector<DipSetting> rows;
    for (int i = 0; i < 16; ++i)
        rows.push_back(row(i / 8, static_cast<uint8_t>(1u << (i % 8)), 0, labels[i], kOffOn));
    return rows;
}

std::vector<DipSetting> heroTonmaRows()
{
    static constexpr const char* players[] = {"3", "4", "5", "2"};
    static constexpr const char* difficulty[] = {"Normal", "Hard", "Very Hard", "Easy"};
    return {row(0, 0x03, 0, "No Players", players),
            row(0, 0x04, 0, "Demo Sound", kYesNo),
            row(0, 0x10, 0, "Coin SW1 5", kOffOn),
            row(0, 0x20, 0, "Coin  SW1 6", kOffOn),
            row(0, 0x40, 0, "Coin  SW1 7", kOffOn),
            row(0, 0x80, 0, "Coin  SW1 8", kOffOn),
            row(1, 0x01, 0, "Screen Reverse", kNormalReverse),
            row(1, 0x02, 0, "Game Style", kTableUpright),
            row(1, 0x04, 0, "Coin Mode", kCoinMode),
            row(1, 0x18, 0, "Difficulty", difficulty),
            row(1, 0x20, 0, "Freeze Picture", kNoYes),
            row(1, 0x40, 0, "No Death Mode", kNoYes),
            row(1, 0x80, 0, "Test Mode", kNoYes)};
}

std::vector<DipRecord> buildTable()
{
    static constexpr const char* majorTitleUpper[4] = {"Dip SW1 5", "Dip SW1 6", "Dip SW1 7", "Dip SW1 8"};
    static constexpr const char* rType2Upper[4] = {"Coin SW1 5", "Coin SW1 6", "Coin SW1 7", "Coin SW1 8"};
    return {
        {"Vorta Strike", VortaStrike, vortaStrikeRows()},
        {"Vorta Strike Bootleg", VortaStrikeBootleg, vortaStrikeRows()},
        {"Tutankham", Tutankham, tutankhamRows()},
        {"Track'n'Field", TrackNField, trackAndFieldRows()},
        {"Hyper Sports", HyperSports, hyperSportsRows()},
        {"Rock'n'Rope", RockNRope, rockNRopeRows()},
        {"Circus Charlie", CircusCharlie, circusCharlieRows()},
        {"Circus Charlie", CircusCharlie2, circusCharlieRows()},
        {"Jail Break", JailBreak, jailBreakRows()},
        {"Road Fighters", RoadFighters, jailBreakRows()},
        {"Major Title", MasterT, iremTwoBankRows(majorTitleUpper)},
        {"RType II", RType2, iremTwoBankRows(rType2Upper)},
        {"RType I", RType, rTypeRows()},
        {"RType Leo", RTypeLeo, plainSwitchRows()},
        {"Shaolins Road", ShaolinsRoad, plainSwitchRows()},
        {"NZ Story", NewZealandStory, plainSwitchRows()},
        {"Legend of Hero Tonma", HeroTonma, heroTonmaRows()},
        {"Dragon Breed", DragonBreed, plainSwitchRows()},
    };
}

uint8_t& bankByte(DipBytes& dips, int32_t bank) { return bank == 0 ? dips.a : dips.b; }

// Writes option index `option` of a setting into its bank, leaving the other bits.
void mergeOption(DipBytes& dips, const DipSetting& setting, int option)
{
    if (setting.bank != 0 && setting.bank != 1)
        return;
    uint8_t& byte = bankByte(dips, setting.bank);
    const auto bits = static_cast<uint8_t>((static_cast<unsigned>(option) << setting.shift) & setting.mask);
    byte = static_cast<uint8_t>(bits | (byte & ~setting.mask));
}

} // namespace

std::span<const char* const> coinList() { return kCoins; }

std::span<const DipRecord> dipTable()
{
    static const std::vector<DipRecord> table = buildTable();
    return table;
}

const DipRecord* findDipRecord(GameId game)
{
    for (const DipRecord& record : dipTable())
        if (record.game == game)
            return &record;
    return nullptr;
}

DipBytes dipDefaults(GameId game)
{
    DipBytes dips;
    if (const DipRecord* record = findDipRecord(game))
        for (const DipSetting& setting : record->settings)
            mergeOption(dips, setting, setting.defaultOption);
    return dips;
}

void setDipDefaults(GameId game, DipBytes& dips) { dips = dipDefaults(game); }

DipDialogSession::DipDialogSession(const DipRecord& record, const DipBytes& dips) : record_(&record)
{
    for (const DipSetting& setting : record.settings) {
        const uint8_t byte = setting.bank == 0 ? dips.a : setting.bank == 1 ? dips.b : 0;
        current_.push_back((byte & setting.mask) >> setting.shift);
    }
}

int DipDialogSession::current(int setting) const
{
    if (setting < 0 || setting >= settingCount())
        return -1;
    return current_[static_cast<std::size_t>(setting)];
}

void DipDialogSession::select(int setting, int option)
{
    if (setting < 0 || setting >= settingCount())
        return;
    const DipSetting& row = record_->settings[static_cast<std::size_t>(setting)];
    if (option < 0 || option >= static_cast<int>(row.options.size()))
        return;
    current_[static_cast<std::size_t>(setting)] = option;
}

void DipDialogSession::restoreDefaults()
{
    for (std::size_t i = 0; i < current_.size(); ++i)
        current_[i] = record_->settings[i].defaultOption;
}

void DipDialogSession::mergeInto(DipBytes& dips) const
{
    for (std::size_t i = 0; i < current_.size(); ++i)
        mergeOption(dips, record_->settings[i], current_[i]);
}

void runDipDialog(GameId game, DipBytes& dips, DipDialogRunner& runner)
{
    const DipRecord* record = findDipRecord(game);
    if (!record)
        return;
    DipDialogSession session(*record, dips);
    if (runner.runDipDialog(session) == 1)
        session.mergeInto(dips);
}

} // namespace vortastr
