// What the progress window of a symbol import shows: whether it is up, the percentage of the
// file done and its caption. The percentage follows every line; pending events run, and the
// window is told to repaint when the percentage moved, at most once per kRepaintIntervalMs, so
// a large file does not cost one repaint per line.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <functional>

#include "common/event_pump.h"

namespace zel::symbols {

class ImportProgress : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kRepaintIntervalMs = 50;
    // Milliseconds from any fixed start; the default is a monotonic clock.
    using Clock = std::function<qint64()>;

    explicit ImportProgress(EventPump pump = {}, Clock clock = {});

    void begin();
    void setPercent(int percent);
    void end();

    bool isShown() const { return shown_; }
    int percent() const { return percent_; }
    // " 42% of symbol file processed ... please wait."
    QString caption() const;

signals:
    void shown();
    void changed();
    void hidden();

private:
    void repaint();

    EventPump pump_;
    Clock clock_;
    QElapsedTimer elapsed_;
    qint64 lastRepaint_ = 0;
    int percent_ = 0;
    int shownPercent_ = -1;
    bool shown_ = false;
};

}  // namespace zel::symbols
