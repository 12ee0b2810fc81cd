#pragma once
// Settings store in an INI file through QSettings: group "Vorta Strike Emulator", one value per
// setting under its usual name, holding the 32-bit number.
#include "shell/settings.h"

#include <memory>
#include <string>

class QSettings;
class QString;
class QTemporaryDir;

namespace vortastr {

constexpr const char* kSettingsGroup = "Vorta Strike Emulator";

class IniSettingsStore : public SettingsStore {
public:
    explicit IniSettingsStore(std::string path);
    ~IniSettingsStore() override;

    // $XDG_CONFIG_HOME/vortastr/vortastr.ini (~/.config/vortastr/vortastr.ini by default).
    static std::string defaultPath();
    const std::string& path() const { return path_; }

    bool openForReading() override;
    std::optional<int32_t> readDword(const std::string& name) override;
    bool openForWriting() override;
    void writeDword(const std::string& name, int32_t value) override;
    bool commit() override;
    std::string location() const override { return path_; }

private:
    QString qtPath();

    std::string path_; // bytes as given; not always UTF-8
    std::unique_ptr<QTemporaryDir> standIn_;
    std::unique_ptr<QSettings> settings_;
};

} // namespace vortastr
