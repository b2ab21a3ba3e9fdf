#include "symbols/import_progress.h"

#include "common/number_text.h"

namespace zel::symbols {

ImportProgress::ImportProgress(EventPump pump, Clock clock)
    : pump_(std::move(pump)), clock_(std::move(clock)) {
    elapsed_.start();
    if (!clock_) clock_ = [this] { return elapsed_.elapsed(); };
}

QString ImportProgress::caption() const {
    return strNumber(percent_) + QStringLiteral("% of symbol file processed ... please wait.");
}

void ImportProgress::begin() {
    shown_ = true;
    percent_ = 0;
    shownPercent_ = -1;
    emit shown();
    repaint();
}

// Events run on the same beat even while the percentage stands still, so a window stays
// responsive through a long stretch of a large file.
void ImportProgress::setPercent(int percent) {
    percent_ = percent;
    if (clock_() - lastRepaint_ >= kRepaintIntervalMs) repaint();
}

void ImportProgress::end() {
    if (percent_ != shownPercent_) repaint();
    shown_ = false;
    emit hidden();
}

void ImportProgress::repaint() {
    lastRepaint_ = clock_();
    if (percent_ != shownPercent_) {
        shownPercent_ = percent_;
        emit changed();
    }
    if (pump_) pump_();
}

}  // namespace zel::symbols
