#include "settings/main_settings.h"
#include "settings/first_run.h"
#include "settings/settings_sections.h"
#include "test_files.h"

#include <gtest/gtest.h>

using namespace zel::settings;

namespace {

class MainSettingsTest : public StoreTest {
protected:
    void loadSections(SettingsData data) {
        for (const char* name : {"Communications", "DDE Setup", "Files", "Main"})
            data[sectionPath(name)];
        loadFile(data);
    }
    MainSettings load(SettingsStore& from, const QString& commandLineSymbol = {}) {
        QStringList messages;
        MainSettings values = loadMainSettings(from, commandLineSymbol, messages);
        EXPECT_TRUE(messages.isEmpty()) << messages.join('\n');
        return values;
    }
};

}  // namespace

TEST_F(MainSettingsTest, FirstRunStartsLikeARunWithoutSections) {
    const MainSettings withoutSections{.CommType = 3,
                                       .BaudRate = 9600,
                                       .HostNode = 999,
                                       .TargetNode = 0,
                                       .AdapterIndex = 0,
                                       .CommTimeout = 250,
                                       .DdeFlagAddress = 1,
                                       .DdeRegAddress = 1,
                                       .UpdateInterval = 1000,
                                       .Top = 1008,
                                       .Left = 2036,
                                       .Height = 8000,
                                       .Width = 11000};
    SettingsStore bare(dir.filePath("bare.ini"));
    bare.load({});
    // A missing Files section also clears a symbol file named on the command line.
    EXPECT_EQ(load(bare, "given.sym"), withoutSections);
    ASSERT_EQ(store.load(firstRunSettings()).outcome, LoadOutcome::Created);
    EXPECT_EQ(load(store), withoutSections);
}

TEST_F(MainSettingsTest, MissingAndWrongKindValuesTakeTheirDefaults) {
    const MainSettings missing{.CommType = 3,
                               .BaudRate = 19200,
                               .HostNode = 32767,
                               .TargetNode = 1,
                               .AdapterIndex = 1,
                               .CommTimeout = 300,
                               .DdeFlagAddress = 1,
                               .DdeRegAddress = 1,
                               .UpdateInterval = 25,
                               .Top = 1008,
                               .Left = 1236,
                               .Height = 8000,
                               .Width = 11000};
    loadSections({});
    EXPECT_EQ(load(store), missing);
    SettingsData data;
    data[sectionPath("Communications")] = {{"Host", QString("5")}, {"IP Address", 5}};
    data[sectionPath("Main")]["7400 Support"] = QString("1");
    loadSections(data);
    EXPECT_EQ(load(store), missing);
}

TEST_F(MainSettingsTest, StoredValuesAreCorrected) {
    const struct {
        std::int32_t timeout, update, support, wantTimeout, wantUpdate;
        bool want7400;
    } cases[] = {{0, 5, 1, 350, 10, true}, {7, -3, 2, 7, 10, false}, {1, 10, 0, 1, 10, false}};
    for (const auto& c : cases) {
        SettingsData data;
        data[sectionPath("Communications")]["Timeout"] = c.timeout;
        data[sectionPath("DDE Setup")]["Update"] = c.update;
        data[sectionPath("Main")]["7400 Support"] = c.support;
        data[sectionPath("Files")]["Symbol Table"] = QString("stored.sym");
        loadSections(data);
        const MainSettings v = load(store);
        EXPECT_EQ(v.CommTimeout, c.wantTimeout);
        EXPECT_EQ(v.UpdateInterval, c.wantUpdate);
        EXPECT_EQ(v.Support7400, c.want7400);
        EXPECT_EQ(v.SymbolFileName, "stored.sym");
        EXPECT_EQ(load(store, "given.sym").SymbolFileName, "given.sym");
    }
}

TEST_F(MainSettingsTest, SavedValuesLoadBackAndMaximisedStoresTheFixedPlacement) {
    ASSERT_EQ(store.load(firstRunSettings()).outcome, LoadOutcome::Created);
    MainSettings saved{.CommType = 2,
                       .BaudRate = 38400,
                       .HostNode = 5,
                       .TargetNode = 6,
                       .AdapterIndex = 2,
                       .ControllerHost = "plc-7.example",
                       .CommTimeout = 900,
                       .DdeBlock50 = 3,
                       .DdeActive = 1,
                       .DdeFlagAddress = 4,
                       .DdeRegAddress = 5,
                       .UpdateInterval = 250,
                       .Custom1File = "a.CFG",
                       .Custom2File = "b.CFG",
                       .DataTableFile = "/data/line 1.tab",
                       .SymbolFileName = "s.SYM",
                       .Top = 11,
                       .Left = 22,
                       .Height = 33,
                       .Width = 44,
                       .Support7400 = true};
    QStringList messages;
    saveMainSettings(store, saved, DisplayState::Normal, messages);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(load(store), saved);

    saveMainSettings(store, saved, DisplayState::Maximized, messages);
    const MainSettings maximised = load(store);
    EXPECT_EQ(WindowPlacement(maximised.Top, maximised.Left, maximised.Height, maximised.Width),
              WindowPlacement(1008, 1236, 8000, 10000));
}

TEST_F(MainSettingsTest, FailuresAreReportedInOrderWithTheirOwnWording) {
    SettingsStore bare(dir.filePath("bare.ini"));
    bare.load({});
    QStringList messages;
    saveMainSettings(bare, MainSettings{}, DisplayState::Normal, messages);
    EXPECT_EQ(messages, QStringList({"Cannot WRITE Conmmunications settings to Registry !",
                                     "Cannot WRITE DDE Setup settings to Registry !",
                                     "Cannot WRITE File settings to Registry !",
                                     "Cannot WRITE Main settings to Registry !"}));

    ASSERT_TRUE(writeBytes(path, "a file where a folder should be"));
    SettingsStore blocked(path + "/settings.ini");
    blocked.load(firstRunSettings());
    messages.clear();
    saveMainSettings(blocked, MainSettings{}, DisplayState::Normal, messages);
    EXPECT_EQ(messages, QStringList({"Cannot CLOSE Communication key in Registry !",
                                     "Cannot CLOSE DDE Setup key in Registry !",
                                     "Cannot CLOSE File key in Registry !",
                                     "Cannot CLOSE Main key in Registry !"}));
}
