#include "gui/settings_store.h"

#include <QSettings>
#include <memory>
#include <vector>

namespace reelcast {
namespace {

constexpr const char* kVendorKey = "PsxMovieTools";
constexpr const char* kProductKey = "Reelcast";
constexpr const char* kSettingsKey = "Settings";

std::unique_ptr<QSettings> openSettings(const QString& file)
{
    auto s = file.isEmpty()
                 ? std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, kVendorKey, kProductKey)
                 : std::make_unique<QSettings>(file, QSettings::IniFormat);
    s->beginGroup(kSettingsKey);
    return s;
}

} // namespace

SettingsStore::SettingsStore(QString configFile) : configFile_(std::move(configFile)) {}

QString SettingsStore::location() const { return openSettings(configFile_)->fileName(); }

ConverterSettings SettingsStore::load()
{
    ConverterSettings result;
    {
        auto s = openSettings(configFile_);
        for (const auto& v : ConverterSettings::kDwordValues) {
            bool ok = false;
            const long long stored = s->value(v.name).toLongLong(&ok);
            result.*v.field = ConverterSettings::sanitise(v, ok, stored);
        }
        const QByteArray record = s->value(ConverterSettings::kAviOptionName).toByteArray();
        result.aviOption = CompressionOptions::fromRecord(std::vector<uint8_t>(record.begin(), record.end()));
    }
    save(result);
    return result;
}

void SettingsStore::save(const ConverterSettings& settings)
{
    auto s = openSettings(configFile_);
    for (const auto& v : ConverterSettings::kDwordValues)
        s->setValue(v.name, settings.*v.field);
    const auto record = settings.aviOption.toRecord();
    s->setValue(ConverterSettings::kAviOptionName,
                QByteArray(reinterpret_cast<const char*>(record.data()), qsizetype(record.size())));
    s->sync();
}

} // namespace reelcast
