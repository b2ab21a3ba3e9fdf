#include "resources/paged_window_model.h"

#include <algorithm>

#include "common/number_text.h"
#include "resources/row_polling.h"

namespace zel {
namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr double kDragRelabelSeconds = 2.0;

}  // namespace

PagedWindowModel::PagedWindowModel(ResourceServices services, PageRules rules)
    : services_(std::move(services)),
      rules_(rules),
      lifecycle_(services_, rules.section, rules.openFlag, rules.unloadText),
      guard_(QString::fromLatin1(rules.valueGotoKeys)) {}

std::optional<settings::WindowPlacement> PagedWindowModel::open() {
    return lifecycle_.open([this] { loadRows(); });
}

void PagedWindowModel::unload(settings::DisplayState display,
                              const settings::WindowPlacement& current) {
    lifecycle_.unload(display, current);
}

void PagedWindowModel::loadRows() {
    resetWindow();
    guard_.release();
    gotoStarted_ = false;
    lastScrollTime_ = -1;
    showFirstPage();
    gotoText_ = QString::fromLatin1(rules_.gotoDesignText);
    draw();
}

void PagedWindowModel::showFirstPage() {
    maximum_ = std::max(1, scrollMaximum());
    first_ = 1;
    const std::optional<int32_t> count = presentCount();
    for (int r = 0; r < PageSize; ++r) {
        const int32_t n = resourceNumber(r);
        const bool present = !count || n <= *count;
        rowAt(r) = {QString::number(n),
                    present ? rowName(n, true) : QString::fromLatin1(kNotPresent),
                    loadValue(present), StateColour::Black};
        valueChanged(r);
    }
}

std::optional<TrendItem> PagedWindowModel::trendItem(int r) const {
    const int32_t n = resourceNumber(r);
    const std::optional<int32_t> count = presentCount();
    const std::optional<TrendSource> source = trendSource(n);
    if ((count && n > *count) || !source) return std::nullopt;
    const QString name = symbol(n);
    if (!name.isEmpty()) return TrendItem{name, *source};
    return TrendItem{QStringLiteral("%1 %2").arg(QLatin1String(rules_.trendName)).arg(n), *source};
}

void PagedWindowModel::setBase(int32_t base) {
    rules_.base = base;
    rules_.gotoLow = base + 1;
}

void PagedWindowModel::setPosition(int position) {
    first_ = std::clamp(position, 1, maximum_);
    relabel();
}

void PagedWindowModel::relabel() {
    for (int r = 0; r < PageSize; ++r) {
        PageRow& row = rowAt(r);
        const int32_t n = resourceNumber(r);
        row.number = QString::number(n);
        row.name = rowName(n, false);
        relabelRow(row);
    }
    gotoText_ = QString::number(resourceNumber(0));
    lastScrollTime_ = -1;
    draw();
    focusGoto();
    if (view_) view_->releaseScrollBar();
}

void PagedWindowModel::scrollDragged(int position, double secondsOfDay) {
    if (lastScrollTime_ <= 0) {
        lastScrollTime_ = secondsOfDay;
        return;
    }
    double elapsed = secondsOfDay - lastScrollTime_;
    if (elapsed < 0) elapsed += kSecondsPerDay;  // the drag went past midnight
    if (elapsed > kDragRelabelSeconds) setPosition(position);
}

bool& PagedWindowModel::gotoStarted() {
    return rules_.gotoSharesEditGuard ? guard_.activeFlag() : gotoStarted_;
}

bool PagedWindowModel::gotoKey(QChar key) {
    if (key == kEnterKey) {
        jump();
        return false;
    }
    bool& started = gotoStarted();
    if (!started || QString::fromLatin1(rules_.gotoResetKeys).contains(key)) {
        gotoText_.clear();
        started = true;
        draw();
    }
    return true;
}

// The box is clamped to the allowed range and shown so before the page moves there.
void PagedWindowModel::jump() {
    const int32_t low = rules_.gotoLow;
    const int32_t high = rules_.gotoHigh != 0 ? rules_.gotoHigh : rules_.base + maximum_;
    const double wanted = val(gotoText_);
    if (wanted < low) gotoText_ = QString::number(low);
    if (wanted > high) gotoText_ = QString::number(high);
    gotoStarted() = false;
    setPosition(static_cast<int>(roundHalfEven(val(gotoText_))) - rules_.base);
}

void PagedWindowModel::labelClicked() {
    focusGoto();
}

void PagedWindowModel::setValueText(int r, const QString& text) {
    rowAt(r).value = text;
    valueChanged(r);
    draw();
}

bool PagedWindowModel::valueKey(int r, QChar key) {
    switch (guard_.key(r, key, rowAt(r).value)) {
        case EntryKey::Enter:
            if (!services_.state.flags.NoCommunication) {
                writeRow(r);
                guard_.release();
            }
            draw();
            return false;
        case EntryKey::FocusGoto:
            if (rules_.valueGotoKeysEmptyGoto) {
                gotoText_.clear();
                draw();
            }
            focusGoto();
            return false;
        case EntryKey::Typed:
            valueChanged(r);
            draw();
            return true;
    }
    return false;
}

void PagedWindowModel::valueDelete(int r) {
    guard_.deleteKey(r, rowAt(r).value);
    valueChanged(r);
    draw();
}

void PagedWindowModel::valueFocusLost(int r) {
    guard_.focusLost(rowAt(r).value);
    valueChanged(r);
    draw();
}

int PagedWindowModel::refreshRows(PollContext& context, const std::function<void(int)>& readRow) {
    return pollRows(context, *this, PageSize, [&](int r) {
        if (!guard_.skips(r)) readRow(r);
    });
}

void PagedWindowModel::draw() {
    if (view_) view_->draw();
}

void PagedWindowModel::focusGoto() {
    if (view_) view_->focusGoto();
}

}  // namespace zel
