#include "platform/ini_settings_store.h"

#include "platform/settings_lock.h"
#include "platform/whole_file_write.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vortastr {
namespace {

namespace fs = std::filesystem;

// A file name Qt can carry: one that comes back byte for byte from its QString form.
bool qtCanNameIt(const std::string& path)
{
    const QByteArray bytes = QByteArray::fromStdString(path);
    return QFile::encodeName(QFile::decodeName(bytes)) == bytes;
}

} // namespace

IniSettingsStore::IniSettingsStore(std::string path) : path_(std::move(path)) {}
IniSettingsStore::~IniSettingsStore() = default;

std::string IniSettingsStore::defaultPath()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QFile::encodeName(QDir(base).filePath("vortastr/vortastr.ini")).toStdString();
}

// QSettings takes a QString, which cannot hold every byte string; a file whose name it cannot
// carry is read and written through a copy under a plain name, and the copy is written back to
// the real name byte for byte at commit.
QString IniSettingsStore::qtPath()
{
    if (qtCanNameIt(path_))
        return QFile::decodeName(QByteArray::fromStdString(path_));
    if (!standIn_)
        standIn_ = std::make_unique<QTemporaryDir>();
    const QString copy = standIn_->filePath("settings.ini");
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    QFile out(copy);
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(QByteArray::fromStdString(bytes.str()));
    return copy;
}

bool IniSettingsStore::openForReading()
{
    std::error_code ec;
    if (!fs::exists(path_, ec))
        return false;
    settings_ = std::make_unique<QSettings>(qtPath(), QSettings::IniFormat);
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
    std::error_code ec;
    const fs::path folder = fs::absolute(fs::path(path_), ec).parent_path();
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec))
        return false;
    settings_.reset();
    if (qtCanNameIt(path_) && !settingsLockFree(QFile::decodeName(QByteArray::fromStdString(path_))))
        return false;
    settings_ = std::make_unique<QSettings>(qtPath(), QSettings::IniFormat);
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
    bool ok = settings_->status() == QSettings::NoError;
    settings_->beginGroup(kSettingsGroup);
    if (ok && !qtCanNameIt(path_)) {
        QFile copy(settings_->fileName());
        std::string error;
        ok = copy.open(QIODevice::ReadOnly) && writeWholeFile(path_, copy.readAll().toStdString(), error);
    }
    return ok;
}

} // namespace vortastr
