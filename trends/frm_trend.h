// The trend window: the trended set plotted against time. It follows the newest minute with
// the values fitted until the user drags or wheels the plot; Autoscale follows again. Redraws
// are merged: a timer at the screen's refresh rate draws only when the set has changed, and
// each series is thinned to the plot's pixel columns.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>

#include "settings/settings_store.h"
#include "settings/window_placement.h"
#include "trends/trend_set.h"

class QCustomPlot;
class QCPAbstractPlottable;
class QCPItemStraightLine;
class QLabel;
class QPushButton;
class QTimer;

namespace zel {

class frmTrend : public QWidget {
    Q_OBJECT
public:
    using MessageSink = std::function<void(const QString&)>;
    static constexpr qint64 kFollowedSpan = 60000;

    frmTrend(const TrendSet& set, settings::SettingsStore& store, MessageSink setMessage,
             QWidget* parent = nullptr);

    // The first open after a close restores the placement the window was closed at.
    void open();
    void retitle(const QString& caption);
    // Draws now if the set changed since the last drawing and the plot is not paused.
    void redrawIfChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Draws the plot in the window's palette, so that it reads on a dark desktop as on a light
    // one.
    void usePalette();
    // A series' pen, and its legend entry in the text colour, dimmed while the series is hidden.
    void colourSeries(int index);
    double dpi() const;
    settings::DisplayState displayState() const;
    void showBox(const QString& text);
    void redraw();
    void fill(qint64 from, qint64 to);
    void followNewest();
    void showCursor(double x);
    void exportPng();
    void exportCsv();

    const TrendSet& set_;
    settings::SettingsStore& store_;
    MessageSink setMessage_;
    QCustomPlot* plot_;
    QCPItemStraightLine* cursor_ = nullptr;  // the last part of the plot to be made
    QLabel* readout_;
    QPushButton* pause_;
    QTimer* frames_;
    uint64_t drawn_ = UINT64_MAX;
    bool following_ = true;
    double cursorAt_ = -1;
    bool loaded_ = false;
    settings::PlacedWindow placed_;
};

}  // namespace zel
