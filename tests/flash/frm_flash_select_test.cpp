// The model choice window: the options an image offers, the one it does not, and the code that
// OK confirms and Cancel does not.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QRadioButton>
#include <optional>

#include "flash/frm_flash_select.h"

using namespace zel;

namespace {

TEST(FrmFlashSelect, OkConfirmsTheCheckedOptionsCodeAndCancelConfirmsNone) {
    ModelChoices choices;
    choices.options[0] = {true, QStringLiteral("4815K CPU Module"), 11};
    choices.options[2] = {true, QStringLiteral("4815KPZMax CPU Module"), 16};
    struct Case {
        const char* name;
        int checked;  // -1: none
        const char* button;
        std::optional<int> code;
    } cases[] = {
        {"ok on the third", 2, "Command1", 16},
        {"ok on the first", 0, "Command1", 11},
        {"ok with none checked", -1, "Command1", std::nullopt},
        {"cancel", 2, "Command2", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frmFlashSelect form(choices);
        const auto option = [&](int i) {
            return form.findChild<QRadioButton*>(QStringLiteral("Option1_%1").arg(i));
        };
        ASSERT_TRUE(option(0) && option(1) && option(2) && option(3));
        EXPECT_EQ(option(0)->text(), "4815K CPU Module");
        EXPECT_EQ(option(2)->text(), "4815KPZMax CPU Module");
        EXPECT_FALSE(option(0)->isHidden());
        EXPECT_TRUE(option(1)->isHidden());
        EXPECT_FALSE(option(2)->isHidden());
        EXPECT_TRUE(option(3)->isHidden());
        if (c.checked >= 0) option(c.checked)->setChecked(true);
        form.findChild<QPushButton*>(QString::fromLatin1(c.button))->click();
        EXPECT_EQ(form.chosenCode(), c.code);
    }
}

}  // namespace
