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

TEST_F(PlacementTest, WithoutSectionsWindowsOpenAtDefaultsAndCannotSave) {
    loadFile({});
    const QByteArray before = readBytes(path);
    for (const PS section :
         {PS::Registers, PS::NVram, PS::Flags, PS::Digin, PS::Digout, PS::Analin, PS::Analout,
          PS::Servo, PS::Status, PS::Dtable, PS::Custom1, PS::Custom2}) {
        EXPECT_FALSE(restorePlacement(store, section).message);
        EXPECT_EQ(savePlacement(store, section, DisplayState::Normal, {1, 2, 3, 4}),
                  placementRule(section).writeFailure);
    }
    EXPECT_EQ(restored(PS::Status), WindowPlacement(2004, 1632, 8000, 14000));
    EXPECT_EQ(readBytes(path), before);
}

TEST_F(PlacementTest, EachValueFallsBackByItself) {
    SettingsData data;
    data[sectionPath("Registers")] = {
        {"Top", QString("1000")}, {"Left", 1}, {"Height", 2}, {"Width", 3}};
    data[sectionPath("Status")];
    loadFile(data);
    EXPECT_EQ(restored(PS::Registers), WindowPlacement(1668, 1, 2, 3));
    EXPECT_EQ(restored(PS::Status), WindowPlacement(2004, 1632, 4800, 6000));
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
              WindowPlacement(2004, 1632, 4464, 5148));
    EXPECT_EQ(restorePlacement(reopened, PS::Servo).placement,
              WindowPlacement(1392, 1944, 4776, 4164));
    EXPECT_EQ(restorePlacement(reopened, PS::Dtable).placement, moved);
}

TEST(Twips, ConvertAtTheLogicalDpiRoundingHalvesToEven) {
    EXPECT_EQ(pixelsToTwips(1, 120), 12);
    EXPECT_EQ(twipsToPixels(25, 144), 2);
    EXPECT_EQ(twipsToPixels(35, 144), 4);
    EXPECT_EQ(pixelsToTwips(1e12, 96), std::numeric_limits<std::int32_t>::max());
    const WindowPlacement placement = placementFromPixels(QRect(10, 20, 300, 400), 96);
    EXPECT_EQ(placement, WindowPlacement(300, 150, 6000, 4500));
    EXPECT_EQ(placementToPixels(placement, 96), QRect(10, 20, 300, 400));
}
