#include "platform/ini_settings_store.h"

#include "platform/settings_lock.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace vortastr {

IniSettingsStore::IniSettingsStore(std::string path) : path_(std::move(path)) {}
IniSettingsStore::~IniSettingsStore() = default;

std::string IniSettingsStore::defaultPath()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(base).filePath("vortastr/vortastr.ini").toStdString();
}

bool IniSettingsStore::openForReading()
{
    if (!QFileInfo::exists(QString::fromStdString(path_)))
        return false;
    settings_ = std::make_unique<QSettings>(QString::fromStdString(path_), QSettings::IniFormat);
    if (settings_->status() != QSettings::NoError || !settings_->childGroups().contains(kSettingsGroup))
        return false;
    settings_->beginGroup(kSettingsGroup);
    return true;
}

std::optional<int32_t> IniSettingsStore::readDword(const std::string& name)
{
    if (!settings_)
        return std::nullopt;
    const QVariant value = settings_->value(QString::fromStdString(name));
    if (!value.isValid())
        return std::nullopt;
    bool ok = false;
    const qlonglong number = value.toString().trimmed().toLongLong(&ok, 0);
    // A DWORD: anything from INT32_MIN (written by us for negative values) to UINT32_MAX.
    if (!ok || number < INT32_MIN || number > static_cast<qlonglong>(UINT32_MAX))
        return std::nullopt;
    return static_cast<int32_t>(static_cast<uint32_t>(number));
}

bool IniSettingsStore::openForWriting()
{
    const QFileInfo file(QString::fromStdString(path_));
    if (!QDir().mkpath(file.absolutePath()))
        return false;
    settings_.reset();
    if (!settingsLockFree(QString::fromStdString(path_)))
        return false;
    settings_ = std::make_unique<QSettings>(QString::fromStdString(path_), QSettings::IniFormat);
    settings_->beginGroup(kSettingsGroup);
    return settings_->isWritable();
}

void IniSettingsStore::writeDword(const std::string& name, int32_t value)
{
    if (settings_)
        settings_->setValue(QString::fromStdString(name), value);
}

bool IniSettingsStore::commit()
{
    if (!settings_)
        return false;
    settings_->endGroup();
    settings_->sync(); // QSettings writes a temporary file and renames it over the old one
    const bool ok = settings_->status() == QSettings::NoError;
    settings_->beginGroup(kSettingsGroup);
    return ok;
}

} // namespace vortastr
