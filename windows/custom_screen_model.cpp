#include "windows/custom_screen_model.h"

#include <algorithm>

#include "common/bit_value.h"
#include "common/number_text.h"
#include "resources/flag_word.h"
#include "resources/row_naming.h"
#include "resources/row_polling.h"

namespace zel {
namespace {

constexpr int32_t kLowestNumber = 1;
constexpr int32_t kHighestNumber = 65535;
const QString kNotSelectedText = QStringLiteral("Not Selected");

// The symbol name, or the kind's text and the number.
QString rowLabel(const ResourceServices& services, int16_t kind, int32_t number) {
    if (kind == kNotSelected) return kNotSelectedText;
    if (const std::optional<SymbolCode> code = customKindSymbols(kind)) {
        const QString name = symbolName(services, *code, number);
        if (!name.isEmpty()) return name;
    }
    return customKindText(kind) + u' ' + QString::number(number);
}

}  // namespace

CustomRow notSelectedRow() {
    return {kNotSelectedText, kNotSelected, kLowestNumber};
}

CustomScreenModel::CustomScreenModel(CustomScreen screen, ResourceServices services,
                                     CustomScreenFiles* files)
    : twin_(customScreenTwin(screen)),
      services_(std::move(services)),
      files_(files),
      lifecycle_(services_, twin_.section, twin_.openFlag, "Custom Resource Form unloaded.") {
    services_.showMessageBox = [this](const QString& text) {
        if (view_) view_->messageBox(text, BoxIcon::None);
    };
    rows_.fill(notSelectedRow());
}

std::optional<settings::WindowPlacement> CustomScreenModel::open() {
    return lifecycle_.open([this] {
        if (!filePath().isEmpty()) readFile();
        showRows();
    });
}

void CustomScreenModel::unload(settings::DisplayState display,
                               const settings::WindowPlacement& current) {
    if (!lifecycle_.isLoaded()) return;
    if (resourceMode_ && files_ && view_) {
        const QString prompt = filePath().isEmpty()
                                   ? QString::fromLatin1(twin_.closePrompt)
                                   : QStringLiteral("Save Changes to ") + filePath();
        if (view_->askYesNo(prompt)) fileSave();
    }
    lifecycle_.unload(display, current);
}

// The kind lists for this controller, each row as defined with an empty value box, label mode.
void CustomScreenModel::showRows() {
    kindList_ = customKindList(services_.state.connection.ModelCode);
    for (int r = 0; r < RowCount; ++r) {
        numberBox(r) = QString::number(row(r).number);
        valueBox(r).clear();
    }
    resourceMode_ = false;
    draw();
}

void CustomScreenModel::kindChosen(int r, int16_t kind) {
    CustomRow& defined = rowAt(r);
    defined.kind = kind;
    if (kind != kNotSelected && defined.number > customKindLimit(kind, services_.state)) {
        limitMessage(kindChosenMessage(kind));
        defined.kind = kNotSelected;
    }
    relabel(r);
    draw();
}

void CustomScreenModel::setNumberText(int r, const QString& text) {
    numberBox(r) = text;
}

bool CustomScreenModel::numberKey(int r, QChar key) {
    if (guard_.key(r, key, numberBox(r)) != EntryKey::Enter) {
        draw();
        return true;
    }
    applyNumber(r);
    return false;
}

void CustomScreenModel::numberFocusLost(int r) {
    if (twin_.leavingAppliesNotSelected || row(r).kind != kNotSelected) {
        applyNumber(r);
        return;
    }
    guard_.release();
}

// Below 1 (or no number) is 1, above 65535 is 65535; a number the kind does not have goes back
// to 1 and the kind stays.
void CustomScreenModel::applyNumber(int r) {
    CustomRow& defined = rowAt(r);
    const double entered = val(numberBox(r));
    defined.number = entered < kLowestNumber    ? kLowestNumber
                     : entered > kHighestNumber ? kHighestNumber
                                                : roundToInt32(entered);
    if (defined.kind == kNotSelected) {
        defined.number = kLowestNumber;
    } else if (defined.number > customKindLimit(defined.kind, services_.state)) {
        limitMessage(numberEnteredMessage(defined.kind));
        defined.number = kLowestNumber;
    }
    numberBox(r) = QString::number(defined.number);
    relabel(r);
    guard_.release();
    draw();
}

void CustomScreenModel::relabel(int r) {
    CustomRow& defined = rowAt(r);
    defined.label = rowLabel(services_, defined.kind, defined.number);
}

void CustomScreenModel::limitMessage(const LimitMessage& message) {
    if (view_) view_->messageBox(message.text, message.icon);
}

void CustomScreenModel::setValueText(int r, const QString& text) {
    valueBox(r) = text;
}

bool CustomScreenModel::valueKey(int r, QChar key) {
    if (guard_.key(r, key, valueBox(r)) != EntryKey::Enter) {
        draw();
        return true;
    }
    guard_.release();
    writeValue(r);
    return false;
}

void CustomScreenModel::valueDelete(int r) {
    guard_.deleteKey(r, valueBox(r));
    draw();
}

void CustomScreenModel::valueFocusLost(int r) {
    guard_.focusLost(valueBox(r));
    draw();
}

// Read-only kinds send nothing; the box keeps what was typed until the next tick.
void CustomScreenModel::writeValue(int r) {
    const CustomRow& target = row(r);
    const std::optional<CustomWrite> write = customWrite(target.kind);
    if (!write) return;
    const int32_t value = std::clamp(roundToInt32(val(valueBox(r))), write->low, write->high);
    const int32_t handle = services_.state.connection.CommHandle;
    ZelLibrary& library = services_.library;
    writeAndReport(
        services_,
        [&] {
            return target.kind == kFlagKind
                       ? library.ZlPutFlag(handle, target.number, static_cast<int16_t>(value))
                       : library.ZlPutRegister(handle, write->registerOffset + target.number,
                                               value);
        },
        QString::fromLatin1(write->donePrefix) + QString::number(target.number) +
            QStringLiteral(" updated."),
        "Failed to update value.");
}

void CustomScreenModel::displayLabels() {
    resourceMode_ = false;
    draw();
}

void CustomScreenModel::displayResources() {
    resourceMode_ = true;
    draw();
}

void CustomScreenModel::fileNew() {
    services_.state.files.*twin_.file = QString();
    rows_.fill(notSelectedRow());
    showRows();
}

void CustomScreenModel::fileOpen() {
    if (!files_ || !view_) return;
    const QString chosen = view_->chooseFile(FileDialogKind::Open, filePath());
    if (chosen.isEmpty()) return;
    services_.state.files.*twin_.file = chosen;
    readFile();
    showRows();
}

void CustomScreenModel::fileSave() {
    if (filePath().isEmpty()) {
        fileSaveAs();
        return;
    }
    writeFile();
}

void CustomScreenModel::fileSaveAs() {
    if (!files_ || !view_) return;
    const QString chosen = view_->chooseFile(FileDialogKind::Save, filePath());
    if (chosen.isEmpty()) return;
    services_.state.files.*twin_.file = chosen;
    writeFile();
}

// A file that cannot be read leaves the rows as they were.
void CustomScreenModel::readFile() {
    if (!files_) return;
    CustomRows read = rows_;
    if (const std::optional<QString> failure = files_->read(filePath(), read)) {
        if (view_) view_->messageBox(*failure, BoxIcon::Exclamation);
        return;
    }
    rows_ = read;
}

void CustomScreenModel::writeFile() {
    if (!files_) return;
    if (files_->write(filePath(), rows_) && view_)
        view_->messageBox(QString::fromLatin1(twin_.saveFailure), BoxIcon::None);
}

// Every row not under edit, letting events run before rows 4, 8, 12 and 16; a connection
// closed meanwhile ends the tick.
void CustomScreenModel::refresh(PollContext& context) {
    if (!context.linkUsable()) return;
    for (int r = 0; r < RowCount; ++r) {
        if (r % 4 == 3) {
            context.pump();
            if (services_.state.connection.CommHandle == 0) {
                context.tickEnded = true;
                break;
            }
        }
        if (guard_.skips(r) || row(r).kind == kNotSelected) continue;
        valueBox(r) = readValue(context, row(r));
    }
    draw();
}

// A flag number is possible only from a file.
bool CustomScreenModel::flagHeld(int32_t flag) const {
    const IOCounts& counts = services_.state.connection.Counts;
    return flag >= 1 && (counts.FlagCount() > kFlagsPerWord || flag <= kFlagsPerWord);
}

std::optional<TrendItem> CustomScreenModel::trendItem(int r) const {
    const CustomRow& shown = row(r);
    if (shown.kind == kNotSelected) return std::nullopt;
    if (shown.kind == kFlagKind) {
        if (!flagHeld(shown.number)) return std::nullopt;
        const int32_t word = flagWordRegister(services_.state.connection.Counts, shown.number);
        return TrendItem{shown.label, TrendSource::bit(word, flagBit(shown.number))};
    }
    const int32_t number = customValueRegister(shown.kind, shown.number);
    if (const std::optional<int> bit = customValueBit(shown.kind))
        return TrendItem{shown.label, TrendSource::bit(number, *bit)};
    return TrendItem{shown.label, TrendSource::reg(number)};
}

// A flag number no word of this controller holds shows "*".
QString CustomScreenModel::readValue(PollContext& context, const CustomRow& shown) {
    const bool flag = shown.kind == kFlagKind;
    const IOCounts& counts = services_.state.connection.Counts;
    if (flag && !flagHeld(shown.number)) return QString::fromLatin1(kUnreadable);
    const int32_t number =
        flag ? flagWordRegister(counts, shown.number)
             : customValueRegister(shown.kind, shown.number);
    const std::optional<int32_t> value = readRegister(context, number);
    if (!value) {
        context.readFailed();
        return QString::fromLatin1(kUnreadable);
    }
    if (!flag) return customValueText(shown.kind, *value);
    return bitIsSet(*value, flagBit(shown.number)) ? QStringLiteral("Set")
                                                   : QStringLiteral("Clear");
}

void CustomScreenModel::draw() {
    if (view_) view_->draw();
}

}  // namespace zel
