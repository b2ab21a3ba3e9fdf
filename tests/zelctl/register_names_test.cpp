// Names on zelctl's command line looked up in the demo symbol file: a symbol of every kind
// names its resource, and the listings show each resource's symbol.
#include <gtest/gtest.h>

#include "zelctl/register_names.h"

using namespace zel::ctl;

TEST(ZelctlNames, ASymbolOfEveryKindNamesItsResource) {
    RegisterNames names;
    ASSERT_TRUE(names.load(QStringLiteral(ZELSIM_SCENARIOS "/demo.sym")))
        << names.error().toStdString();
    const struct {
        const char* word;
        const char* resource;
        const char* shown;  // the symbol its rows are listed with
    } cases[] = {
        {"Batch_size", "2", "Batch_size"},
        {"Parts_made_total", "32001", "Parts_made_total"},
        {"Auto_mode", "flag:3", "Auto_mode"},
        {"Guard open", "input:2", "Guard closed"},
        {"Lamp on", "output:5", "Lamp off"},
        {"Line_pressure", "analog-in:1", "Line_pressure"},
        {"Heater_power", "analog-out:2", "Heater_power"},
        {"Rotary_table", "servo:4", "Rotary_table"},
    };
    for (const auto& c : cases) {
        const std::optional<Target> target = names.target(QString::fromUtf8(c.word));
        ASSERT_TRUE(target) << c.word << ": " << names.error().toStdString();
        EXPECT_EQ(targetName(*target).toStdString(), c.resource);
        EXPECT_EQ(names.name(*target).toStdString(), c.shown);
    }
    const std::optional<QList<Target>> range =
        names.selection({QStringLiteral("Machine_ready..Auto_mode")});
    ASSERT_TRUE(range) << names.error().toStdString();
    EXPECT_EQ(*range,
              (QList<Target>{{Resource::Flag, 1}, {Resource::Flag, 2}, {Resource::Flag, 3}}));

    const struct {
        QStringList words;
        const char* error;
    } refused[] = {
        {{"Initialise"}, "no register or resource is named Initialise."},  // a step
        {{"Batch_size..Auto_mode"},
         "the range Batch_size..Auto_mode runs from register 2 to flag:3, which are not of one "
         "kind."},
    };
    for (const auto& r : refused) {
        EXPECT_FALSE(names.selection(r.words));
        EXPECT_EQ(names.error().toStdString(), r.error);
    }
}
