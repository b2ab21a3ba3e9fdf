// Reads and writes the values of one section of a settings file, as a test sets up a profile
// before the monitor starts and reads what the monitor saved after it ends.
#pragma once

#include <QStringList>
#include <QVariantMap>

#include "settings/first_run.h"
#include "settings/settings_sections.h"
#include "settings/settings_store.h"

namespace zel::test {

// Sets each value in `section`, a number for an int and a text for a string; a file not there
// yet starts as a first run leaves it. False when the section is missing or the save fails.
inline bool setSettings(const QString& file, const QString& section, const QVariantMap& values) {
    settings::SettingsStore store(file);
    store.load(settings::firstRunSettings());
    settings::SettingsHandle h = 0;
    if (!store.OpenSettingsKey(settings::sectionPath(section), h)) return false;
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (it->typeId() == QMetaType::QString)
            store.SetTextValue(h, it.key(), it->toString());
        else
            store.SetNumberValue(h, it.key(), it->toInt());
    }
    return store.CloseSettingsKey(h);
}

// The named values of `section` as texts, numbers written in decimal; empty for one missing.
inline QStringList settingsValues(const QString& file, const QString& section,
                                  const QStringList& names) {
    settings::SettingsStore store(file);
    store.load({});
    settings::SettingsHandle h = 0;
    QStringList values;
    if (!store.OpenSettingsKey(settings::sectionPath(section), h)) return values;
    for (const QString& name : names) {
        int32_t number = 0;
        QString text;
        if (store.QueryNumberValue(h, name, number))
            text = QString::number(number);
        else
            store.QueryTextValue(h, name, text);
        values << text;
    }
    store.CloseSettingsKey(h);
    return values;
}

}  // namespace zel::test
