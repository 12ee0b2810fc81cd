#pragma once
// Operator settings of the boards: two banks of eight dip switches per game, described by a
// static table of labelled options, and the defaults and dialog operations over it.
#include "boards/game_catalogue.h"

#include <cstdint>
#include <span>
#include <vector>

namespace vortastr {

struct DipSetting {
    int32_t bank;          // 0 = dipA, 1 = dipB
    uint8_t mask;          // bits of the bank this setting occupies
    uint8_t shift;         // position of the mask's lowest bit
    int32_t defaultOption; // option index the defaults use
    const char* label;
    std::span<const char* const> options; // option i is written as (i << shift) & mask
};

struct DipRecord {
    const char* name; // the dialog's title line
    GameId game;
    std::vector<DipSetting> settings;
};

constexpr int kDipDialogSlots = 16; // settings the dialog can show; no table has more

// The sixteen coinage choices shared by most tables.
std::span<const char* const> coinList();

std::span<const DipRecord> dipTable();
const DipRecord* findDipRecord(GameId game);

// The running game's two dip bytes; a set bit is a switch that is on.
struct DipBytes {
    uint8_t a = 0;
    uint8_t b = 0;
};

// Both bytes zero, then every setting of the game's table at its default option.
DipBytes dipDefaults(GameId game);
void setDipDefaults(GameId game, DipBytes& dips);

// Option choices while the dip dialog is open. Built from the current bytes, changed by the
// dialog's lists and its Default button, merged back only when the dialog ends with OK.
class DipDialogSession {
public:
    DipDialogSession(const DipRecord& record, const DipBytes& dips);

    const DipRecord& record() const { return *record_; }
    int settingCount() const { return static_cast<int>(current_.size()); }
    int current(int setting) const;
    // Chooses an option; indices outside the setting's list are ignored.
    void select(int setting, int option);
    void restoreDefaults();
    void mergeInto(DipBytes& dips) const;

private:
    const DipRecord* record_;
    std::vector<int> current_;
};

// Result of a modal dip dialog: 1 = OK, 0 = Cancel or closed.
class DipDialogRunner {
public:
    virtual ~DipDialogRunner() = default;
    virtual int runDipDialog(DipDialogSession& session) = 0;
};

// The "Set Dipswitches" command: nothing happens for a game without a table; otherwise the
// dialog runs and, on OK, its choices are written into the bytes.
void runDipDialog(GameId game, DipBytes& dips, DipDialogRunner& runner);

} // namespace vortastr
