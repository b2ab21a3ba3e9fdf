#include "resources/servo_model.h"

#include <algorithm>

#include "common/number_text.h"
#include "resources/resource_registers.h"
#include "resources/row_naming.h"
#include "resources/row_polling.h"

namespace zel {
ServoModel::ServoModel(ResourceServices services)
    : services_(std::move(services)),
      lifecycle_(services_, settings::PlacementSection::Servo, &WindowOpenFlags::ServoFormOpen,
                 "Servo Form unloaded.") {}

static_assert(ServoModel::ServoRows == kLastServo);

void ServoModel::setView(int window, WindowView* view) {
    views_.at(static_cast<size_t>(window)) = view;
}

std::optional<settings::WindowPlacement> ServoModel::openFirst() {
    return lifecycle_.open([this] { loadRows(0); });
}

void ServoModel::unloadFirst(settings::DisplayState display,
                             const settings::WindowPlacement& current) {
    lifecycle_.unload(display, current);
}

std::optional<settings::WindowPlacement> ServoModel::openSecond(const MessageSink& showMessageBox) {
    if (secondShown_) return std::nullopt;
    ResourceServices own = services_;
    own.showMessageBox = showMessageBox;
    const settings::WindowPlacement placement =
        restoredPlacement(own, settings::PlacementSection::Servo);
    loadRows(1);
    secondShown_ = true;
    return placement;
}

void ServoModel::loadRows(int window) {
    if (guard_.row() / ServosPerWindow == window) guard_.release();
    for (int i = window * ServosPerWindow; i < (window + 1) * ServosPerWindow; ++i) {
        const int32_t n = i + 1;
        const bool present = n <= servoCount();
        const QString missing = present ? QString() : QString::fromLatin1(kNotAvailable);
        rows_[static_cast<size_t>(i)] = {QString::number(n),
                                         present ? servoName(n) : QString::fromLatin1(kNotPresent),
                                         missing, missing};
    }
    draw();
}

// With a symbol file a servo it does not name is "servo_n"; without one every servo is
// "motor/servo_n".
QString ServoModel::servoName(int32_t number) const {
    if (!services_.symbolsActive()) return QStringLiteral("motor/servo_") + QString::number(number);
    const QString name = symbolName(services_, SymbolCode::Servo, number);
    return name.isEmpty() ? QStringLiteral("servo_") + QString::number(number) : name;
}

std::optional<TrendItem> ServoModel::trendItem(int index, Value value) const {
    const int32_t n = index + 1;
    if (n > servoCount()) return std::nullopt;
    QString name = symbolName(services_, SymbolCode::Servo, n);
    if (name.isEmpty()) name = QStringLiteral("Servo ") + QString::number(n);
    if (value == Value::Position) return TrendItem{name, TrendSource::reg(kServoPositionBase + n)};
    return TrendItem{name + QStringLiteral(" Error"), TrendSource::reg(kServoErrorBase + n)};
}

void ServoModel::setPositionText(int index, const QString& text) {
    rows_.at(static_cast<size_t>(index)).position = text;
}

// Enter writes even without a link: the library's failure then says why.
bool ServoModel::positionKey(int index, QChar key) {
    const EntryKey kind = guard_.key(index, key, rows_.at(static_cast<size_t>(index)).position);
    if (kind == EntryKey::Enter) {
        writePosition(index);
        guard_.release();
    }
    draw();
    return kind == EntryKey::Typed;
}

void ServoModel::positionDelete(int index) {
    guard_.deleteKey(index, rows_.at(static_cast<size_t>(index)).position);
    draw();
}

void ServoModel::positionFocusLost(int index) {
    guard_.focusLost(rows_.at(static_cast<size_t>(index)).position);
    draw();
}

void ServoModel::writePosition(int index) {
    const int32_t n = index + 1;
    const int32_t value = roundToInt32(val(rows_.at(static_cast<size_t>(index)).position));
    writeAndReport(
        services_,
        [&] {
            return services_.library.ZlPutRegister(services_.state.connection.CommHandle,
                                                   kServoPositionBase + n, value);
        },
        QStringLiteral("Servo #%1 position updated.").arg(n),
        "Failed to update servo position value!");
}

// Servos beyond the controller's count, and those of a closed second window, are not read.
void ServoModel::refresh(PollContext& context) {
    const int shown = secondShown_ ? ServoRows : ServosPerWindow;
    const int count = std::clamp(servoCount(), 0, shown);
    pollRows(
        context, *this, count,
        [&](int i) {
            if (guard_.skips(i)) return;
            ServoRow& row = rows_.at(static_cast<size_t>(i));
            row.position = readValue(context, kServoPositionBase + i + 1);
            row.error = readValue(context, kServoErrorBase + i + 1);
        });
    draw();
}

QString ServoModel::readValue(PollContext& context, int32_t number) const {
    if (const std::optional<int32_t> value = readRegister(context, number))
        return QString::number(*value);
    context.readFailed();
    return QString::fromLatin1(kUnreadable);
}

void ServoModel::draw() {
    for (WindowView* view : views_)
        if (view) view->draw();
}

}  // namespace zel
