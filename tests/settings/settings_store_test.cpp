#include "settings/settings_store.h"
#include "settings/first_run.h"
#include "settings/settings_sections.h"
#include "test_files.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zel::settings;

namespace {

class SettingsStoreTest : public StoreTest {
protected:
    void SetUp() override {
        ASSERT_EQ(store.load(firstRunSettings()).outcome, LoadOutcome::Created);
    }

    SettingsHandle open(SettingsStore& from, const char* name) {
        SettingsHandle handle = 0;
        EXPECT_TRUE(from.OpenSettingsKey(sectionPath(name), handle)) << name;
        return handle;
    }
};

}  // namespace

TEST_F(SettingsStoreTest, WritesReachTheDiskWhenTheirSectionCloses) {
    const QByteArray before = readBytes(path);
    const SettingsHandle handle = open(store, "Files");
    ASSERT_TRUE(store.SetTextValue(handle, "Symbol Table", QString::fromUtf16(u"abc\0def", 7)));
    ASSERT_TRUE(store.SetNumberValue(handle, "Top", 1234));
    EXPECT_EQ(readBytes(path), before);
    ASSERT_TRUE(store.CloseSettingsKey(handle));

    SettingsStore reopened(path);
    ASSERT_EQ(reopened.load({}).outcome, LoadOutcome::Loaded);
    for (const char* name : kProgramSections) open(reopened, name);
    const SettingsHandle again = open(reopened, "Files");
    QString text;
    std::int32_t top = 0;
    EXPECT_TRUE(reopened.QueryTextValue(again, "Symbol Table", text));
    EXPECT_EQ(text, "abc");  // stored whole, read up to the first NUL
    EXPECT_TRUE(reopened.QueryNumberValue(again, "Top", top));
    EXPECT_EQ(top, 1234);
    EXPECT_TRUE(readBytes(path).contains("Symbol Table=\"abc%00def\""));
}

// A folder below a regular file cannot be created, even by root.
TEST(SettingsStoreUnwritable, FailedSaveIsReportedAndLosesNothing) {
    QTemporaryDir dir;
    const QString blocker = dir.filePath("blocker");
    ASSERT_TRUE(writeBytes(blocker, "not a folder"));
    SettingsStore store(blocker + "/settings.ini");
    const LoadReport report = store.load(firstRunSettings());
    EXPECT_TRUE(report.message.startsWith("Cannot create settings file")) << report.message;

    SettingsHandle handle = 0;
    ASSERT_TRUE(store.OpenSettingsKey(sectionPath("Registers"), handle));
    ASSERT_TRUE(store.SetNumberValue(handle, "Top", 11));
    EXPECT_FALSE(store.CloseSettingsKey(handle));
    EXPECT_FALSE(store.lastError().isEmpty());
    ASSERT_TRUE(store.OpenSettingsKey(sectionPath("Registers"), handle));
    EXPECT_TRUE(store.CloseSettingsKey(handle));  // nothing written through it, nothing to save

    ASSERT_TRUE(QFile::remove(blocker) && QDir().mkdir(blocker));
    ASSERT_TRUE(store.OpenSettingsKey(sectionPath("Flags"), handle));
    ASSERT_TRUE(store.SetNumberValue(handle, "Top", 22));
    EXPECT_TRUE(store.CloseSettingsKey(handle));
    const SettingsData saved = readSettings(readBytes(store.filePath())).data;
    EXPECT_EQ(saved.at(sectionPath("Registers")).at("Top"), SettingsValue(11));
    EXPECT_EQ(saved.at(sectionPath("Flags")).at("Top"), SettingsValue(22));
}

TEST(SettingsStoreLink, ALinkedSettingsFileStaysALink) {
    QTemporaryDir dir;
    const QString real = dir.filePath("real.ini");
    const QString link = dir.filePath("settings.ini");
    ASSERT_TRUE(writeBytes(real, writeSettings(firstRunSettings())) && QFile::link(real, link));
    SettingsStore store(link);
    ASSERT_EQ(store.load({}).outcome, LoadOutcome::Loaded);
    SettingsHandle handle = 0;
    ASSERT_TRUE(store.OpenSettingsKey(sectionPath("Main"), handle));
    ASSERT_TRUE(store.SetNumberValue(handle, "Top", 7) && store.CloseSettingsKey(handle));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(readBytes(real).contains("\nTop=7\n"));
}
