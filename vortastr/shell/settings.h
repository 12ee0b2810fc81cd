#pragma once
// The emulator's persistent settings: the variables, the ordered table that names them in the
// settings store, and loading and saving over that table.
#include "boards/game_catalogue.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vortastr {

struct Settings {
    int32_t windowScaleX = 1;
    int32_t windowScaleY = 1;
    int32_t frameDisplay = 1; // render every Nth frame, 1 to 4; 99 = never
    int32_t paletteCycling = 0;
    int32_t fullScreenSetting = 0;
    std::array<int32_t, kGameCount> savedDipA{}; // low byte meaningful
    std::array<int32_t, kGameCount> savedDipB{};
    int32_t joystickSetting = 0;
    int32_t soundSetting = 1;
};

constexpr int32_t kFrameDisplayNever = 99;
constexpr int32_t kLeaveUnchanged = -1;

struct SettingEntry {
    const char* name; // value name in the store
    int32_t size;     // bytes, always 4
    int32_t* target;
    int32_t kind;         // 0 = read straight into the variable; 1 = read through a temporary
    int32_t defaultValue; // used when the value cannot be read; -1 = leave the variable alone
};

// Every row in store order: five display settings, two dip values per game with a dip table
// (and a few others), then the joystick and sound settings.
std::vector<SettingEntry> settingsTable(Settings& settings);

// The store of named 32-bit values: the registry key of old, an INI file here.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // False when the store does not exist yet; nothing is read then.
    virtual bool openForReading() = 0;
    // The value, or nothing when it is missing or not a 32-bit number.
    virtual std::optional<int32_t> readDword(const std::string& name) = 0;
    virtual bool openForWriting() = 0;
    virtual void writeDword(const std::string& name, int32_t value) = 0;
    // Makes the written values permanent; false when they could not be stored.
    virtual bool commit() = 0;
    // Where the values live, for messages.
    virtual std::string location() const { return "the settings store"; }
};

// 1 when the store opened, else 0 (all variables keep their values).
int loadSettings(const std::vector<SettingEntry>& table, SettingsStore& store);
// 1 when every row of kind 0 or 1 was written and stored, else 0.
int saveSettings(const std::vector<SettingEntry>& table, SettingsStore& store);

} // namespace vortastr
