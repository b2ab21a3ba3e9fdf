#include "settings/first_run.h"
#include "settings/settings_format.h"
#include "settings/settings_sections.h"
#include "settings/settings_store.h"
#include "test_files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zel::settings;

namespace {

QStringList keptFiles(const QString& folder) {
    return QDir(folder).entryList({"settings.ini.damaged-*"}, QDir::Files, QDir::Name);
}

// Loads `bytes` in an empty folder: the damage is reported, the original is kept byte for byte,
// and the defaults are in use and written as a new, valid file.
void expectSetAside(const QByteArray& bytes, const QString& folder) {
    const QString path = folder + "/settings.ini";
    ASSERT_TRUE(QDir().mkpath(folder) && writeBytes(path, bytes));
    SettingsStore store(path);
    const LoadReport report = store.load(firstRunSettings());
    EXPECT_EQ(report.outcome, LoadOutcome::Damaged);
    const QStringList kept = keptFiles(folder);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(readBytes(folder + "/" + kept.front()), bytes);
    EXPECT_TRUE(report.message.startsWith("Settings file " + path + " was damaged ("))
        << report.message;
    EXPECT_TRUE(
        report.message.endsWith("; kept as " + folder + "/" + kept.front() + "; defaults used."));

    SettingsHandle handle = 0;
    ASSERT_TRUE(store.OpenSettingsKey(sectionPath("Registers"), handle));
    std::int32_t top = 0;
    EXPECT_FALSE(store.QueryNumberValue(handle, "Top", top));
    EXPECT_EQ(readSettings(readBytes(path)).data, firstRunSettings());
}

}  // namespace

TEST(DamagedSettingsFile, CutGarbageAndBinaryAreSetAsideBeforeAnythingIsWritten) {
    SettingsData data;
    data[sectionPath("Registers")]["Top"] = 1234;
    data[sectionPath("Files")]["Symbol Table"] = QString("/plant/line 2.sym");
    const QByteArray whole = writeSettings(data);
    const QList<QByteArray> inputs = {
        "[Registers]\nTop=1\n",
        QByteArray("\x7f"
                   "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0",
                   20),
        QByteArray(whole).replace("Top=1234", "Top=12x4"),
        // Every cut is caught by the reader; one empty and one cut file stand for them here.
        QByteArray(),
        whole.first(whole.size() - 1),
    };

    QTemporaryDir dir;
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        SCOPED_TRACE(i);
        expectSetAside(inputs[i], dir.filePath(QString::number(i)));
    }
}

TEST(DamagedSettingsFile, RepeatedDamageKeepsEveryOriginal) {
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.ini");
    for (const char* bytes : {"first", "second", "third"}) {
        ASSERT_TRUE(writeBytes(path, bytes));
        SettingsStore store(path);
        EXPECT_EQ(store.load(firstRunSettings()).outcome, LoadOutcome::Damaged);
    }
    QStringList contents;
    for (const QString& name : keptFiles(dir.path())) contents << readBytes(dir.filePath(name));
    contents.sort();
    EXPECT_EQ(contents, QStringList({"first", "second", "third"}));
}

TEST(DamagedSettingsFile, AnUnreadableFileIsNeverOverwritten) {
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.ini");
    ASSERT_TRUE(QDir().mkdir(path) && writeBytes(path + "/inside", "keep"));
    SettingsStore store(path);
    const LoadReport report = store.load(firstRunSettings());
    EXPECT_EQ(report.outcome, LoadOutcome::Unreadable);
    EXPECT_TRUE(report.message.startsWith("Cannot read settings file " + path)) << report.message;

    SettingsHandle handle = 0;
    ASSERT_TRUE(store.OpenSettingsKey(sectionPath("Main"), handle));
    ASSERT_TRUE(store.SetNumberValue(handle, "Top", 1));
    EXPECT_FALSE(store.CloseSettingsKey(handle));
    EXPECT_EQ(readBytes(path + "/inside"), "keep");
}
