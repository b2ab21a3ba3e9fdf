#include "settings/main_settings.h"
#include "settings/first_run.h"
#include "settings/settings_sections.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zel;
using namespace zel::settings;

namespace {

// What the four sections load into: a fresh state and the main window's placement.
struct Loaded {
    AppState state;
    WindowPlacement placement;
};

// The records a test expects, written out.
struct Expected {
    ConnectionSettings connection;
    DdeSetup dde;
    WindowPlacement placement;
};

void expectLoaded(const Loaded& got, const Expected& want) {
    EXPECT_EQ(got.state.settings, want.connection);
    EXPECT_EQ(got.state.dde, want.dde);
    EXPECT_EQ(got.placement, want.placement);
    EXPECT_EQ(got.state.files, FileSettings{});
    EXPECT_FALSE(got.state.flags.DdeActive);
    EXPECT_FALSE(got.state.Support7400);
}

class MainSettingsTest : public StoreTest {
protected:
    void loadSections(SettingsData data) {
        for (const char* name : {"Communications", "DDE Setup", "Files", "Main"})
            data[sectionPath(name)];
        loadFile(data);
    }
    std::unique_ptr<Loaded> load(SettingsStore& from, const QString& commandLineSymbol = {}) {
        auto loaded = std::make_unique<Loaded>();
        QStringList messages;
        loadMainSettings(from, commandLineSymbol, {loaded->state, loaded->placement}, messages);
        EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
        return loaded;
    }
};

}  // namespace

TEST_F(MainSettingsTest, FirstRunStartsLikeARunWithoutSections) {
    const Expected withoutSections{
        .connection = {.CommType = 3, .BaudRate = 9600, .HostNode = 999, .CommTimeout = 250},
        .dde = {.DdeFlagAddress = 1, .DdeRegAddress = 1, .UpdateInterval = 1000},
        .placement = {1008, 2036, 8000, 11000}};
    SettingsStore bare(dir.filePath("bare.ini"));
    bare.load({});
    // A missing Files section also clears a symbol file named on the command line.
    expectLoaded(*load(bare, "given.sym"), withoutSections);
    ASSERT_EQ(store.load(firstRunSettings()).outcome, LoadOutcome::Created);
    expectLoaded(*load(store), withoutSections);
}

TEST_F(MainSettingsTest, MissingAndWrongKindValuesTakeTheirDefaults) {
    const Expected missing{.connection = {.CommType = 3,
                                          .BaudRate = 19200,
                                          .HostNode = 32767,
                                          .TargetNode = 1,
                                          .AdapterIndex = 1,
                                          .CommTimeout = 300},
                           .dde = {.DdeFlagAddress = 1, .DdeRegAddress = 1, .UpdateInterval = 25},
                           .placement = {1008, 1236, 8000, 11000}};
    loadSections({});
    expectLoaded(*load(store), missing);
    SettingsData data;
    data[sectionPath("Communications")] = {{"Host", QString("5")}, {"IP Address", 5}};
    data[sectionPath("DDE Setup")]["Flag"] = QString("1");
    data[sectionPath("Main")]["7400 Support"] = QString("1");
    loadSections(data);
    expectLoaded(*load(store), missing);
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
        const auto v = load(store);
        EXPECT_EQ(v->state.settings.CommTimeout, c.wantTimeout);
        EXPECT_EQ(v->state.dde.UpdateInterval, c.wantUpdate);
        EXPECT_EQ(v->state.Support7400, c.want7400);
        EXPECT_EQ(v->state.files.SymbolFileName, "stored.sym");
        EXPECT_EQ(load(store, "given.sym")->state.files.SymbolFileName, "given.sym");
    }
}

TEST_F(MainSettingsTest, SavedValuesLoadBackAndMaximisedStoresTheFixedPlacement) {
    ASSERT_EQ(store.load(firstRunSettings()).outcome, LoadOutcome::Created);
    Loaded saved;
    saved.state.settings = {.CommType = 2,
                            .BaudRate = 38400,
                            .HostNode = 5,
                            .TargetNode = 6,
                            .AdapterIndex = 2,
                            .ControllerHost = "plc-7.example",
                            .CommTimeout = 900};
    saved.state.dde = {.DdeBlock50 = 3, .DdeFlagAddress = 4, .DdeRegAddress = 5, .UpdateInterval = 250};
    saved.state.flags.DdeActive = true;
    saved.state.files = {"a.CFG", "b.CFG", "/data/line 1.tab", "s.SYM"};
    saved.state.Support7400 = true;
    saved.placement = {11, 22, 33, 44};
    QStringList messages;
    saveMainSettings(store, {saved.state, saved.placement}, DisplayState::Normal, messages);
    EXPECT_TRUE(messages.isEmpty());
    const auto back = load(store);
    EXPECT_EQ(back->state.settings, saved.state.settings);
    EXPECT_EQ(back->state.dde, saved.state.dde);
    EXPECT_TRUE(back->state.flags.DdeActive);
    EXPECT_EQ(back->state.files, saved.state.files);
    EXPECT_TRUE(back->state.Support7400);
    EXPECT_EQ(back->placement, (WindowPlacement{11, 22, 33, 44}));

    saveMainSettings(store, {saved.state, saved.placement}, DisplayState::Maximized, messages);
    EXPECT_EQ(load(store)->placement, (WindowPlacement{1008, 1236, 8000, 10000}));
}

TEST_F(MainSettingsTest, FailuresAreReportedInOrderWithTheirOwnWording) {
    SettingsStore bare(dir.filePath("bare.ini"));
    bare.load({});
    QStringList messages;
    Loaded nothing;
    saveMainSettings(bare, {nothing.state, nothing.placement}, DisplayState::Normal, messages);
    EXPECT_EQ(messages, QStringList({"Cannot WRITE Conmmunications settings to Registry !",
                                     "Cannot WRITE DDE Setup settings to Registry !",
                                     "Cannot WRITE File settings to Registry !",
                                     "Cannot WRITE Main settings to Registry !"}));

    ASSERT_TRUE(writeBytes(path, "a file where a folder should be"));
    SettingsStore blocked(path + "/settings.ini");
    blocked.load(firstRunSettings());
    messages.clear();
    saveMainSettings(blocked, {nothing.state, nothing.placement}, DisplayState::Normal, messages);
    EXPECT_EQ(messages, QStringList({"Cannot CLOSE Communication key in Registry !",
                                     "Cannot CLOSE DDE Setup key in Registry !",
                                     "Cannot CLOSE File key in Registry !",
                                     "Cannot CLOSE Main key in Registry !"}));
}
