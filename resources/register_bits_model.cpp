#include "resources/register_bits_model.h"

#include <cmath>

#include "common/bit_value.h"
#include "common/number_text.h"
#include "resources/row_polling.h"

namespace zel {
namespace {

constexpr int32_t kUpperBase = 32000;
constexpr int32_t kUpperMaximum = 3985;       // top row at most 35985: nothing above 36000
constexpr int32_t kLowerScrollOffset = 8015;  // RegisterLimit - 8015 is the Lower Regs maximum
constexpr double kTwoTo31 = 2147483648.0;
constexpr double kTwoTo32 = 4294967296.0;

// The register word a whole number stands for, taken modulo 2^32: 2147483648 is -2147483648.
int32_t registerWord(double value) {
    if (!std::isfinite(value)) return 0;
    double word = std::fmod(roundHalfEven(value), kTwoTo32);
    if (word < 0) word += kTwoTo32;
    return static_cast<int32_t>(static_cast<uint32_t>(word));
}

}  // namespace

RegisterBitsModel::RegisterBitsModel(ResourceServices services)
    : PagedWindowModel(std::move(services), {.section = std::nullopt,
                                             .openFlag = &WindowOpenFlags::RegbitsFormOpen,
                                             .unloadText = "Register Form unloaded.",
                                             .valueGotoKeys = "Rr",
                                             .valueGotoKeysEmptyGoto = true,
                                             .trendName = "Register"}) {}

void RegisterBitsModel::resetWindow() {
    range_ = RegisterBank::Lower;
    setBase(0);
}

int RegisterBitsModel::scrollMaximum() const {
    return range_ == RegisterBank::Lower ? services_.state.RegisterLimit - kLowerScrollOffset
                                         : kUpperMaximum;
}

void RegisterBitsModel::selectRange(RegisterBank range) {
    range_ = range;
    setBase(range == RegisterBank::Lower ? 0 : kUpperBase);
    showFirstPage();
    setGotoText(QString::number(resourceNumber(0)));
    draw();
}

bool RegisterBitsModel::bit(int index) const {
    return bitIsSet(static_cast<int32_t>(bits_.at(static_cast<size_t>(index / BitsPerRow))),
                    index % BitsPerRow);
}

// The check boxes follow every change of the box's text, typed or read, except while a clicked
// bit waits for the tick: then they keep the click. Beyond the 32-bit range the box shows "0";
// 2147483648 is the sign bit alone; otherwise the bits are those of the value Enter would write.
void RegisterBitsModel::valueChanged(int r) {
    if (writePending_) return;
    QString& text = rowAt(r).value;
    const double value = val(text);
    if (value > kTwoTo31 || value < -kTwoTo31)
        text = QStringLiteral("0");
    else if (value == kTwoTo31)
        text = QStringLiteral("-2147483648");
    bits_.at(static_cast<size_t>(r)) = static_cast<uint32_t>(roundToInt32(val(text)));
}

// The mask is added to or taken from the box's text as it stands, so a click during typing
// builds on what has been typed; a sum beyond 32 bits keeps its low 32 bits.
void RegisterBitsModel::bitClicked(int index) {
    if (busy_) {
        draw();  // the check box goes back to the model's state
        return;
    }
    const int r = index / BitsPerRow;
    const int k = index % BitsPerRow;
    const double mask = BitValue.at(static_cast<size_t>(k));
    const double boxValue = val(rowAt(r).value);
    const int32_t value = registerWord(bit(index) ? boxValue - mask : boxValue + mask);
    rowValues_.at(static_cast<size_t>(r)) = value;
    bits_.at(static_cast<size_t>(r)) = static_cast<uint32_t>(value);
    rowAt(r).value = QString::number(value);
    writeRow_ = r;
    writeRegister_ = resourceNumber(r);
    writePending_ = true;
    draw();
}

// A click that arrives while the typed value is being written is ignored.
void RegisterBitsModel::writeRow(int r) {
    busy_ = true;
    const int32_t number = resourceNumber(r);
    const int32_t value = roundToInt32(val(rowAt(r).value));
    rowValues_.at(static_cast<size_t>(r)) = value;
    writeAndReport(
        services_,
        [&] {
            return services_.library.ZlPutRegister(services_.state.connection.CommHandle, number,
                                                   value);
        },
        QStringLiteral("Register #%1 updated.").arg(number), "Failed to update register value!");
    if (afterWrite_) afterWrite_();
    busy_ = false;
}

// A clicked bit is written as the first row is reached, so once per click, and the row under
// edit is given back to the tick.
void RegisterBitsModel::refresh(PollContext& context) {
    pollRows(context, *this, PageSize, [&](int r) {
        if (writePending_) sendPendingWrite(context);
        if (editGuard().skips(r)) return;
        if (const std::optional<int32_t> value = readRegister(context, resourceNumber(r))) {
            rowAt(r).value = QString::number(*value);
            valueChanged(r);
        } else {
            context.readFailed();
        }
    });
    draw();
}

void RegisterBitsModel::sendPendingWrite(PollContext& context) {
    writeAndReport(
        services_,
        [&] {
            return context.library.ZlPutRegister(context.state.connection.CommHandle,
                                                 writeRegister_,
                                                 rowValues_.at(static_cast<size_t>(writeRow_)));
        },
        QStringLiteral("Register #%1 updated.").arg(writeRegister_),
        "Failed to update register value!");
    writePending_ = false;
    releaseEditGuard();
}

}  // namespace zel
