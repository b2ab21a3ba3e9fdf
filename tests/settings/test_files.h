// Helpers shared by the settings tests: whole-file reads and writes, and a store on a file in a
// fresh temporary folder.
#pragma once

#include "settings/settings_format.h"
#include "settings/settings_store.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

#include "tests/support/file_bytes.h"

using zel::test::readBytes;
using zel::test::writeBytes;

class StoreTest : public ::testing::Test {
protected:
    // Loads the store from a file holding exactly `data`.
    void loadFile(const zel::settings::SettingsData& data) {
        ASSERT_TRUE(writeBytes(path, zel::settings::writeSettings(data)));
        ASSERT_EQ(store.load({}).outcome, zel::settings::LoadOutcome::Loaded);
    }

    QTemporaryDir dir;
    QString path = dir.filePath("settings.ini");
    zel::settings::SettingsStore store{path};
};

// Readable failure output for the texts these tests compare and stream.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline std::ostream& operator<<(std::ostream& out, const QString& text) {
    return out << text.toStdString();
}
