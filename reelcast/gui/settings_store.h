#pragma once
// The settings kept with QSettings (INI in the user's configuration folder, or a file given with
// --config) under a vendor, a product and a settings key.

#include <QString>

#include "core/converter_settings.h"

namespace reelcast {

class SettingsStore {
public:
    explicit SettingsStore(QString configFile = {}); // empty: the user's configuration folder
    // Reads every value (defaults where unreadable) and writes them back at once.
    ConverterSettings load();
    void save(const ConverterSettings& settings);
    QString location() const;

private:
    QString configFile_;
};

} // namespace reelcast
