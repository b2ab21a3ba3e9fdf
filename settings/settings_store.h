// The per-user settings store and its seven codeRegistry operations.
//
// The store is the per-user root of the settings: every section lies under it, so the root
// argument of the operations is the store object the call is made on. All sections and values
// are held in memory; a section handle that was written through saves the whole file, atomically,
// when it is closed, and that close fails when the save fails. The values stay in memory after a
// failed save and go to disk with the next save that succeeds. Two monitors running at once each
// save their own copy; the last to save wins.
#pragma once

#include "settings/settings_data.h"

#include <QString>

#include <cstdint>
#include <map>

namespace zel::settings {

struct ReadError;

// Opaque; valid from a successful OpenSettingsKey until its CloseSettingsKey. Never 0.
using SettingsHandle = std::uint32_t;

enum class LoadOutcome {
    Loaded,      // the file was read
    Created,     // there was no file: the first-run sections were created
    Damaged,     // the file could not be parsed: set aside (or left alone), first-run sections used
    Unreadable,  // the file exists but cannot be opened: left alone, first-run sections used
};

struct LoadReport {
    LoadOutcome outcome = LoadOutcome::Loaded;
    QString message;  // for the status line and log; empty when there is nothing to report
};

class SettingsStore {
public:
    explicit SettingsStore(QString filePath);

    const QString& filePath() const { return path_; }

    // Reads the file; call it once, before any section is opened. When there is no file, or it is
    // damaged, the store starts from `firstRun` and writes it at once. A damaged file is renamed
    // aside first; if that fails, or the file cannot be read, it is never overwritten: every
    // later save fails.
    LoadReport load(const SettingsData& firstRun);

    // Writes every section to the file now. False, with lastError() saying why, on failure.
    bool save();
    const QString& lastError() const { return lastError_; }

    // True when the section exists; `handle` is then a new handle to it. Never creates a
    // section; on failure `handle` is set to 0.
    bool OpenSettingsKey(const QString& path, SettingsHandle& handle);
    // Ends the handle in every case; false when the handle was not open or a save it needed
    // failed.
    bool CloseSettingsKey(SettingsHandle handle);
    // True only when the value exists and is a number; only then is `value` written.
    bool QueryNumberValue(SettingsHandle handle, const QString& name, std::int32_t& value) const;
    bool SetNumberValue(SettingsHandle handle, const QString& name, std::int32_t value);
    // True only when the value exists and is a text; only then is `text` written, cut by
    // TrimAtNull.
    bool QueryTextValue(SettingsHandle handle, const QString& name, QString& text) const;
    // Stores the whole text, NULs included. A handle of 0 (or any handle not open) stores
    // nothing and returns false.
    bool SetTextValue(SettingsHandle handle, const QString& name, const QString& text);

private:
    struct OpenKey {
        QString path;
        bool written = false;
    };

    const SettingsValue* find(SettingsHandle handle, const QString& name) const;
    bool set(SettingsHandle handle, const QString& name, SettingsValue value);
    LoadReport recoverFromDamage(const ReadError& damage, const SettingsData& firstRun);
    QString startOver(const SettingsData& firstRun);

    QString path_;
    SettingsData data_;
    std::map<SettingsHandle, OpenKey> open_;
    SettingsHandle lastHandle_ = 0;
    QString savesRefused_;  // why saves must not touch the file; empty when they may
    QString lastError_;
};

// The part of `text` before its first NUL; the whole text when it holds none.
QString TrimAtNull(const QString& text);

}  // namespace zel::settings
