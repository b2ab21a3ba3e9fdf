#include "resources/register_window_model.h"

#include <cstdio>

#include "common/hex_text.h"
#include "common/number_text.h"

namespace zel {
namespace {

constexpr int32_t kNvBase = 32000;
constexpr int32_t kFirstVRegister = 36001;
constexpr int32_t kVRegisterModel = 5;
constexpr int32_t kLowerScrollOffset = 8015;  // RegisterLimit - 8015 is the Registers maximum
constexpr int32_t kLastSecondTableRow = 8;    // rows named from the registers table on relabel

PageRules rulesFor(RegisterBank bank) {
    if (bank == RegisterBank::Lower)
        return {.section = settings::PlacementSection::Registers,
                .openFlag = &WindowOpenFlags::RegFormOpen,
                .unloadText = "Register Form unloaded.",
                .gotoResetKeys = "Rr",
                .valueGotoKeys = "Rr",
                .trendName = "Register"};
    return {.section = settings::PlacementSection::NVram,
            .openFlag = &WindowOpenFlags::RamFormOpen,
            .unloadText = "NVRegisters Form unloaded.",
            .base = kNvBase,
            .gotoLow = 32001,
            .gotoHigh = 47985,
            .gotoDesignText = "32001",
            .gotoResetKeys = "Nn",
            .valueGotoKeys = "Nn",
            .trendName = "NV Register"};
}

// A double in the general number format: up to 15 significant digits, "2.5", "1E+20".
QString generalNumber(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    return QString::fromLatin1(buffer);
}

}  // namespace

RegisterWindowModel::RegisterWindowModel(ResourceServices services, RegisterBank bank)
    : PagedWindowModel(std::move(services), rulesFor(bank)), bank_(bank) {}

QString RegisterWindowModel::modeCaption() const {
    return hexView_ ? QStringLiteral("Hexadecimal View") : QStringLiteral("Decimal View");
}

void RegisterWindowModel::displayMenuClicked() {
    hexView_ = !hexView_;
    draw();
}

int RegisterWindowModel::scrollMaximum() const {
    return bank_ == RegisterBank::Lower ? services_.state.RegisterLimit - kLowerScrollOffset
                                        : 15985;
}

QString RegisterWindowModel::rowName(int32_t number, bool atLoad) const {
    const QString name = symbolIn(number, atLoad || number <= kLastSecondTableRow);
    return name.isEmpty() ? QStringLiteral("reg_") + QString::number(number) : name;
}

QString RegisterWindowModel::symbolIn(int32_t number, bool bothTables) const {
    const QString name = symbolName(services_, SymbolCode::NvRegister, number);
    if (!name.isEmpty() || bank_ == RegisterBank::Upper || !bothTables) return name;
    return symbolName(services_, SymbolCode::Register, number);
}

// A register that holds a double has no whole-number value to trend.
std::optional<TrendSource> RegisterWindowModel::trendSource(int32_t number) const {
    if (holdsDouble(number)) return std::nullopt;
    return TrendSource::reg(number);
}

void RegisterWindowModel::relabelRow(PageRow& row) {
    if (!services_.symbolsActive()) row.value = QStringLiteral("0");
}

bool RegisterWindowModel::holdsDouble(int32_t number) const {
    return bank_ == RegisterBank::Upper &&
           services_.state.connection.ModelCode == kVRegisterModel && number >= kFirstVRegister;
}

void RegisterWindowModel::refresh(PollContext& context) {
    refreshRows(context, [&](int r) { rowAt(r).value = readValue(context, resourceNumber(r)); });
    draw();
}

QString RegisterWindowModel::readValue(PollContext& context, int32_t number) const {
    if (holdsDouble(number)) {
        VRegister record{number, 0.0};
        if (context.library.ZlGetVRegister(context.state.connection.CommHandle, record) == 1)
            return generalNumber(record.value);
    } else if (const std::optional<int32_t> value = readRegister(context, number)) {
        return hexView_ ? hexText(*value) : QString::number(*value);
    }
    context.readFailed();
    return QString::fromLatin1(kUnreadable);
}

void RegisterWindowModel::writeRow(int r) {
    const int32_t number = resourceNumber(r);
    writeAndReport(
        services_, [&] { return writeValue(number, rowAt(r).value); },
        QStringLiteral("Register #%1 updated.").arg(number), "Failed to update register value!");
    if (afterWrite_) afterWrite_();
}

int32_t RegisterWindowModel::writeValue(int32_t number, const QString& text) {
    const int32_t handle = services_.state.connection.CommHandle;
    if (holdsDouble(number)) {
        VRegister record{number, val(text)};
        return services_.library.ZlSetVRegister(handle, record);
    }
    return services_.library.ZlPutRegister(handle, number, typedValue(text));
}

// Decimal entries are clamped to 32 bits and rounded half to even; a hexadecimal entry that is
// not 1 to 8 hex digits falls back to its decimal reading.
int32_t RegisterWindowModel::typedValue(const QString& text) const {
    const int32_t decimal = roundToInt32(val(text));
    return hexView_ ? hexValue(text).value_or(decimal) : decimal;
}

}  // namespace zel
