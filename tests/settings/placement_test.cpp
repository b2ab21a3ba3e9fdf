#include "settings/first_run.h"
#include "settings/placement_store.h"
#include "settings/settings_sections.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <limits>

using namespace zel::settings;
using PS = PlacementSection;

namespace {

class PlacementTest : public StoreTest {
protected:
    WindowPlacement restored(PS section) { return restorePlacement(store, section).placement; }
};

}  // namespace

// Without its section a window opens at its defaults (the Status window at its larger no-section
// size) and cannot save; with its section on a file that cannot be written, the close fails.
TEST_F(PlacementTest, WithoutSectionsDefaultsAndEachSectionsOwnFailureMessages) {
    // clang-format off
    const struct {
        PS section;
        WindowPlacement noSection;
        const char* key;      // the section's name in its close failure
        const char* written;  // and in its write failure
    } cases[] = {
        {PS::Registers, {1668, 924, 5184, 5000}, "Registers", "Registers"},
        {PS::NVram, {1668, 924, 4956, 5000}, "NVram", "Register"},
        {PS::Flags, {1488, 3192, 4956, 5000}, "Flags", "Flags"},
        {PS::Digin, {1272, 3168, 4932, 5000}, "Digin", "Digin"},
        {PS::Digout, {1464, 2364, 4932, 5000}, "Digout", "Digout"},
        {PS::Analin, {1608, 2520, 4956, 5000}, "Analin", "Analin"},
        {PS::Analout, {1200, 924, 4956, 5000}, "Analout", "Analout"},
        {PS::Servo, {1392, 1944, 4776, 5000}, "Servo", "Servo"},
        {PS::Status, {2004, 1632, 8000, 14000}, "Status", "Status"},
        {PS::Dtable, {1140, 900, 5760, 8088}, "Dtable", "Dtable"},
        {PS::Custom1, {2064, 2940, 4656, 5200}, "Custom1", "Custom1"},
        {PS::Custom2, {2064, 2940, 4656, 5200}, "Custom2", "Custom2"},
        {PS::Trend, {1200, 1200, 7800, 13500}, "Trend", "Trend"},
        {PS::Traffic, {1500, 1500, 6300, 11400}, "Traffic", "Traffic"},
    };
    // clang-format on
    loadFile({});
    const QByteArray before = readBytes(path);
    // A file where the settings folder should be: every save fails.
    ASSERT_TRUE(writeBytes(dir.filePath("blocker"), "a file where a folder should be"));
    SettingsStore unwritable(dir.filePath("blocker/settings.ini"));
    unwritable.load(firstRunSettings());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        const RestoredPlacement restoredBare = restorePlacement(store, c.section);
        EXPECT_EQ(restoredBare.placement, c.noSection);
        EXPECT_FALSE(restoredBare.message);
        EXPECT_EQ(savePlacement(store, c.section, DisplayState::Normal, {1, 2, 3, 4}),
                  QStringLiteral("Cannot WRITE %1 settings to Registry !").arg(c.written));
        EXPECT_EQ(savePlacement(unwritable, c.section, DisplayState::Normal, {1, 2, 3, 4}),
                  QStringLiteral("Cannot CLOSE %1 key in Registry !").arg(c.key));
    }
    EXPECT_EQ(readBytes(path), before);
}

TEST_F(PlacementTest, EachValueFallsBackByItself) {
    SettingsData data;
    data[sectionPath("Registers")] = {
        {"Top", QString("1000")}, {"Left", 1}, {"Height", 2}, {"Width", 3}};
    data[sectionPath("Status")];
    loadFile(data);
    EXPECT_EQ(restored(PS::Registers), (WindowPlacement{1668, 1, 2, 3}));
    EXPECT_EQ(restored(PS::Status), (WindowPlacement{2004, 1632, 4800, 6000}));
}

TEST_F(PlacementTest, MinimisedOrMaximisedWindowsStoreTheirFixedValuesOrNothing) {
    ASSERT_EQ(store.load(firstRunSettings()).outcome, LoadOutcome::Created);
    const WindowPlacement moved{100, 200, 300, 400};
    EXPECT_FALSE(savePlacement(store, PS::Registers, DisplayState::Normal, moved));
    EXPECT_FALSE(savePlacement(store, PS::Status, DisplayState::Minimized, moved));
    EXPECT_FALSE(savePlacement(store, PS::Servo, DisplayState::Maximized, moved));
    EXPECT_FALSE(savePlacement(store, PS::Dtable, DisplayState::Normal, moved));
    EXPECT_FALSE(savePlacement(store, PS::Dtable, DisplayState::Maximized, {9, 9, 9, 9}));

    SettingsStore reopened(path);
    ASSERT_EQ(reopened.load({}).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(restorePlacement(reopened, PS::Registers).placement, moved);
    EXPECT_EQ(restorePlacement(reopened, PS::Status).placement,
              (WindowPlacement{2004, 1632, 4464, 5148}));
    EXPECT_EQ(restorePlacement(reopened, PS::Servo).placement,
              (WindowPlacement{1392, 1944, 4776, 4164}));
    EXPECT_EQ(restorePlacement(reopened, PS::Dtable).placement, moved);
}

TEST(Twips, ConvertAtTheLogicalDpiRoundingHalvesToEven) {
    EXPECT_EQ(pixelsToTwips(1, 120), 12);
    EXPECT_EQ(twipsToPixels(25, 144), 2);
    EXPECT_EQ(twipsToPixels(35, 144), 4);
    EXPECT_EQ(pixelsToTwips(1e12, 96), std::numeric_limits<std::int32_t>::max());
    const WindowPlacement placement = placementFromPixels(QRect(10, 20, 300, 400), 96);
    EXPECT_EQ(placement, (WindowPlacement{300, 150, 6000, 4500}));
    EXPECT_EQ(placementToPixels(placement, 96), QRect(10, 20, 300, 400));
}
