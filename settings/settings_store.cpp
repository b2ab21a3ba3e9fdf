#include "settings/settings_store.h"

#include "settings/settings_file.h"
#include "settings/settings_format.h"

#include <QDateTime>
#include <QFile>

namespace zel::settings {

SettingsStore::SettingsStore(QString filePath) : path_(std::move(filePath)) {}

LoadReport SettingsStore::load(const SettingsData& firstRun) {
    open_.clear();
    savesRefused_.clear();
    removeStaleTemporaries(path_);
    QFile file(path_);
    if (!file.exists()) {
        const QString failure = startOver(firstRun);
        return {LoadOutcome::Created,
                failure.isEmpty()
                    ? QString()
                    : QStringLiteral("Cannot create settings file %1: %2").arg(path_, failure)};
    }
    if (!file.open(QIODevice::ReadOnly)) {
        data_ = firstRun;
        savesRefused_ = QStringLiteral("settings file %1 could not be read").arg(path_);
        return {LoadOutcome::Unreadable,
                QStringLiteral(
                    "Cannot read settings file %1: %2; defaults used, settings will not be saved.")
                    .arg(path_, file.errorString())};
    }
    ReadResult result = readSettings(file);
    file.close();
    if (!result.error) {
        data_ = std::move(result.data);
        return {LoadOutcome::Loaded, {}};
    }
    return recoverFromDamage(*result.error, firstRun);
}

// Sets the damaged file aside before anything can overwrite it, then starts over.
LoadReport SettingsStore::recoverFromDamage(const ReadError& damage, const SettingsData& firstRun) {
    const QString what =
        QStringLiteral("Settings file %1 was damaged (%2)").arg(path_, damage.text());
    QString error;
    const QString keptAs = setAside(path_, QDateTime::currentDateTime(), error);
    if (keptAs.isEmpty()) {
        data_ = firstRun;
        savesRefused_ =
            QStringLiteral("damaged settings file %1 could not be set aside").arg(path_);
        return {
            LoadOutcome::Damaged,
            what + QStringLiteral("; it could not be set aside (%1), so it is left untouched and "
                                  "settings will not be saved; defaults used.")
                       .arg(error)};
    }
    const QString failure = startOver(firstRun);
    QString message = what + QStringLiteral("; kept as %1; defaults used.").arg(keptAs);
    if (!failure.isEmpty())
        message += QStringLiteral(" A new file could not be written: %1").arg(failure);
    return {LoadOutcome::Damaged, message};
}

// Takes the first-run sections and writes them; returns the save failure, if any.
QString SettingsStore::startOver(const SettingsData& firstRun) {
    data_ = firstRun;
    return save() ? QString() : lastError_;
}

bool SettingsStore::save() {
    if (!savesRefused_.isEmpty()) {
        lastError_ = savesRefused_;
        return false;
    }
    return writeFileAtomically(path_, writeSettings(data_), lastError_);
}

bool SettingsStore::OpenSettingsKey(const QString& path, SettingsHandle& handle) {
    handle = 0;
    if (!data_.contains(path)) return false;
    do {
        ++lastHandle_;
    } while (lastHandle_ == 0 || open_.contains(lastHandle_));
    open_.emplace(lastHandle_, OpenKey{path});
    handle = lastHandle_;
    return true;
}

bool SettingsStore::CloseSettingsKey(SettingsHandle handle) {
    const auto it = open_.find(handle);
    if (it == open_.end()) return false;
    const bool written = it->second.written;
    open_.erase(it);
    return !written || save();
}

bool SettingsStore::QueryNumberValue(SettingsHandle handle, const QString& name,
                                     std::int32_t& value) const {
    const auto* number = std::get_if<std::int32_t>(find(handle, name));
    if (!number) return false;
    value = *number;
    return true;
}

bool SettingsStore::SetNumberValue(SettingsHandle handle, const QString& name, std::int32_t value) {
    return set(handle, name, value);
}

bool SettingsStore::QueryTextValue(SettingsHandle handle, const QString& name,
                                   QString& text) const {
    const auto* stored = std::get_if<QString>(find(handle, name));
    if (!stored) return false;
    text = TrimAtNull(*stored);
    return true;
}

bool SettingsStore::SetTextValue(SettingsHandle handle, const QString& name, const QString& text) {
    return set(handle, name, text);
}

const SettingsValue* SettingsStore::find(SettingsHandle handle, const QString& name) const {
    const auto key = open_.find(handle);
    if (key == open_.end()) return nullptr;
    const SettingsSection& section = data_.at(key->second.path);
    const auto value = section.find(name);
    return value == section.end() ? nullptr : &value->second;
}

bool SettingsStore::set(SettingsHandle handle, const QString& name, SettingsValue value) {
    const auto key = open_.find(handle);
    if (key == open_.end()) return false;
    data_[key->second.path][name] = std::move(value);
    key->second.written = true;
    return true;
}

QString TrimAtNull(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

}  // namespace zel::settings
