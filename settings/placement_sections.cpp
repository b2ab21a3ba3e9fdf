#include "settings/placement_sections.h"

#include <array>
#include <cstddef>

namespace zel::settings {
namespace {

// Placements are {Top, Left, Height, Width} in twips: load defaults, defaults when the section
// cannot be opened, values stored for a minimised or maximised window. The messages are shown
// to the user as they are, word for word.
using W = WindowPlacement;
using S = PlacementSection;
// clang-format off
constexpr std::array<PlacementRule, 14> kRules = {{
    {S::Registers, "Registers", {1668, 924, 5184, 5000}, {}, W{1200, 924, 4956, 3828},
     "Cannot CLOSE Registers key in Registry !", "Cannot WRITE Registers settings to Registry !"},
    {S::NVram, "NVram", {1668, 924, 4956, 5000}, {}, W{1200, 924, 4956, 3828},
     "Cannot CLOSE NVram key in Registry !", "Cannot WRITE Register settings to Registry !"},
    {S::Flags, "Flags", {1488, 3192, 4956, 5000}, {}, W{1488, 3192, 4956, 3444},
     "Cannot CLOSE Flags key in Registry !", "Cannot WRITE Flags settings to Registry !"},
    {S::Digin, "Digin", {1272, 3168, 4932, 5000}, {}, W{1272, 3168, 4932, 3600},
     "Cannot CLOSE Digin key in Registry !", "Cannot WRITE Digin settings to Registry !"},
    {S::Digout, "Digout", {1464, 2364, 4932, 5000}, {}, W{1464, 2364, 4932, 3804},
     "Cannot CLOSE Digout key in Registry !", "Cannot WRITE Digout settings to Registry !"},
    {S::Analin, "Analin", {1608, 2520, 4956, 5000}, {}, W{1200, 924, 4956, 3828},
     "Cannot CLOSE Analin key in Registry !", "Cannot WRITE Analin settings to Registry !"},
    {S::Analout, "Analout", {1200, 924, 4956, 5000}, {}, W{1200, 924, 4956, 3828},
     "Cannot CLOSE Analout key in Registry !", "Cannot WRITE Analout settings to Registry !"},
    {S::Servo, "Servo", {1392, 1944, 4776, 5000}, {}, W{1392, 1944, 4776, 4164},
     "Cannot CLOSE Servo key in Registry !", "Cannot WRITE Servo settings to Registry !"},
    {S::Status, "Status", {2004, 1632, 4800, 6000}, W{2004, 1632, 8000, 14000},
     W{2004, 1632, 4464, 5148},
     "Cannot CLOSE Status key in Registry !", "Cannot WRITE Status settings to Registry !"},
    {S::Dtable, "Dtable", {1140, 900, 5760, 8088}, {}, {},
     "Cannot CLOSE Dtable key in Registry !", "Cannot WRITE Dtable settings to Registry !"},
    {S::Custom1, "Custom1", {2064, 2940, 4656, 5200}, {}, {},
     "Cannot CLOSE Custom1 key in Registry !", "Cannot WRITE Custom1 settings to Registry !"},
    {S::Custom2, "Custom2", {2064, 2940, 4656, 5200}, {}, {},
     "Cannot CLOSE Custom2 key in Registry !", "Cannot WRITE Custom2 settings to Registry !"},
    {S::Trend, "Trend", {1200, 1200, 7800, 13500}, {}, {},
     "Cannot CLOSE Trend key in Registry !", "Cannot WRITE Trend settings to Registry !"},
    {S::Traffic, "Traffic", {1500, 1500, 6300, 11400}, {}, {},
     "Cannot CLOSE Traffic key in Registry !", "Cannot WRITE Traffic settings to Registry !"},
}};
// clang-format on

constexpr bool rulesInEnumOrder() {
    for (std::size_t i = 0; i < kRules.size(); ++i) {
        if (static_cast<std::size_t>(kRules[i].section) != i) return false;
    }
    return true;
}
static_assert(rulesInEnumOrder(), "placement rules must be listed in PlacementSection order");

}  // namespace

const PlacementRule& placementRule(PlacementSection section) {
    return kRules[static_cast<std::size_t>(section)];
}

}  // namespace zel::settings
