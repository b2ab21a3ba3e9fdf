// What Add to Trend takes from a row of each window: its name and where its value is read.
#include <functional>
#include <optional>

#include "resource_fixture.h"
#include "resources/analog_window_model.h"
#include "resources/digital_window_model.h"
#include "resources/flag_window_model.h"
#include "resources/register_bits_model.h"
#include "resources/register_window_model.h"
#include "resources/servo_model.h"

using namespace zel;
using zel::test::ResourceFixture;
using zel::test::trendText;

namespace {

using RowItem = std::function<std::optional<TrendItem>(ResourceServices)>;

// Row r of the window's page at scroll position `position`.
template <typename Model, typename... Args>
RowItem pagedRow(int position, int r, Args... args) {
    return [=](ResourceServices services) {
        Model model(std::move(services), args...);
        model.open();
        model.setPosition(position);
        return model.trendItem(r);
    };
}

RowItem servoRow(int index, ServoModel::Value value) {
    return [=](ResourceServices services) {
        ServoModel model(std::move(services));
        model.openFirst();
        return model.trendItem(index, value);
    };
}

struct Case {
    const char* row;
    RowItem item;
    const char* expected;
};

class TrendItems : public ResourceFixture {};

}  // namespace

// 64 flags (two words from 13021), 16 inputs and outputs, 4 servos, 8 analog inputs and 4
// outputs; a model 5 controller, whose NV registers from 36001 hold doubles.
TEST_F(TrendItems, EachWindowNamesItsRowAndItsSource) {
    state.connection.ModelCode = 5;
    const Case cases[] = {
        {"register", pagedRow<RegisterWindowModel>(111, 9, RegisterBank::Lower),
         "Register 120 @ register 120"},
        {"NV register", pagedRow<RegisterWindowModel>(1, 0, RegisterBank::Upper),
         "NV Register 32001 @ register 32001"},
        {"NV register holding a double",
         pagedRow<RegisterWindowModel>(4001, 0, RegisterBank::Upper), "none"},
        {"register bits", pagedRow<RegisterBitsModel>(1, 4), "Register 5 @ register 5"},
        {"flag in the first word", pagedRow<FlagWindowModel>(1, 6), "Flag 7 @ bit 6 of 13021"},
        {"flag in the second word", pagedRow<FlagWindowModel>(33, 7), "Flag 40 @ bit 7 of 13022"},
        {"digital input", pagedRow<DigitalWindowModel>(1, 2, DigitalKind::Inputs),
         "Digital Input 3 @ register 2003"},
        {"digital output", pagedRow<DigitalWindowModel>(1, 15, DigitalKind::Outputs),
         "Digital Output 16 @ register 1016"},
        {"analog input", pagedRow<AnalogWindowModel>(1, 2, AnalogKind::Inputs),
         "Analog Input 3 @ register 8503"},
        {"analog output", pagedRow<AnalogWindowModel>(1, 3, AnalogKind::Outputs),
         "Analog Output 4 @ register 8004"},
        {"analog output not present", pagedRow<AnalogWindowModel>(1, 4, AnalogKind::Outputs),
         "none"},
        {"servo position", servoRow(2, ServoModel::Value::Position), "Servo 3 @ register 14003"},
        {"servo error", servoRow(2, ServoModel::Value::Error), "Servo 3 Error @ register 14103"},
        {"servo not present", servoRow(4, ServoModel::Value::Position), "none"},
    };
    for (const Case& c : cases) EXPECT_EQ(trendText(c.item(services())), c.expected) << c.row;
}
