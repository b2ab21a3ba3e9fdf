#include "trends/frm_trend.h"

#include <qcustomplot.h>

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "common/text_colours.h"
#include "settings/placement_store.h"
#include "settings/widget_placement.h"
#include "trends/decimation.h"
#include "trends/trend_export.h"
#include "trends/trend_readout.h"

namespace zel {
namespace {

// A hue of its own for each series, in the deeper or the lighter shade, whichever stands out
// more from the plot's background.
QColor seriesColour(int index, const QColor& background) {
    const int hue = (index * 137) % 360;
    const QColor deep = QColor::fromHsv(hue, 230, 190);
    const QColor light = QColor::fromHsv(hue, 150, 255);
    return contrastRatio(deep, background) >= contrastRatio(light, background) ? deep : light;
}

QPushButton* button(const char* name, const char* text, QWidget* parent, QHBoxLayout* row) {
    auto* b = new QPushButton(QString::fromLatin1(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    row->addWidget(b);
    return b;
}

}  // namespace

frmTrend::frmTrend(const TrendSet& set, settings::SettingsStore& store, MessageSink setMessage,
                   QWidget* parent)
    : QWidget(parent, Qt::Window), set_(set), store_(store), setMessage_(std::move(setMessage)) {
    setObjectName(QStringLiteral("frmTrend"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    pause_ = button("Pause", "&Pause", this, row);
    pause_->setCheckable(true);
    QPushButton* autoscale = button("Autoscale", "&Autoscale", this, row);
    QPushButton* png = button("ExportPng", "Export P&NG...", this, row);
    QPushButton* csv = button("ExportCsv", "Export &CSV...", this, row);
    row->addStretch();
    layout->addLayout(row);

    plot_ = new QCustomPlot(this);
    plot_->setObjectName(QStringLiteral("Plot"));
    plot_->setNotAntialiasedElements(QCP::aePlottables);
    plot_->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    plot_->axisRect()->setRangeDrag(Qt::Horizontal | Qt::Vertical);
    plot_->axisRect()->setRangeZoom(Qt::Horizontal | Qt::Vertical);
    auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
    ticker->setDateTimeFormat(QStringLiteral("HH:mm:ss"));
    plot_->xAxis->setTicker(ticker);
    plot_->legend->setVisible(true);
    cursor_ = new QCPItemStraightLine(plot_);
    cursor_->setVisible(false);
    usePalette();
    layout->addWidget(plot_, 1);
    readout_ = new QLabel(this);
    readout_->setObjectName(QStringLiteral("Readout"));
    layout->addWidget(readout_);

    // A drag or a wheel is the user choosing the span; the data is thinned again for it.
    const auto byUser = [this] { following_ = false; };
    connect(plot_, &QCustomPlot::mousePress, this, byUser);
    connect(plot_, &QCustomPlot::mouseWheel, this, byUser);
    connect(plot_->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
            [this](const QCPRange& r) {
                if (!following_)
                    fill(static_cast<qint64>(r.lower * 1000), static_cast<qint64>(r.upper * 1000));
            });
    connect(plot_, &QCustomPlot::mouseMove, this,
            [this](QMouseEvent* e) { showCursor(plot_->xAxis->pixelToCoord(e->position().x())); });
    connect(plot_, &QCustomPlot::legendClick, this,
            [this](QCPLegend*, QCPAbstractLegendItem* item, QMouseEvent*) {
                auto* entry = qobject_cast<QCPPlottableLegendItem*>(item);
                if (!entry) return;
                QCPAbstractPlottable* graph = entry->plottable();
                graph->setVisible(!graph->visible());
                for (int i = 0; i < plot_->graphCount(); ++i)
                    if (plot_->graph(i) == graph) colourSeries(i);
                showCursor(cursorAt_);
                plot_->replot();
            });
    connect(pause_, &QPushButton::toggled, this, [this](bool paused) {
        if (!paused) redrawIfChanged();
    });
    connect(autoscale, &QPushButton::clicked, this, [this] {
        following_ = true;
        redraw();
    });
    connect(png, &QPushButton::clicked, this, &frmTrend::exportPng);
    connect(csv, &QPushButton::clicked, this, &frmTrend::exportCsv);

    // No more frames than the screen shows.
    frames_ = new QTimer(this);
    const double hz = screen() ? std::max(1.0, screen()->refreshRate()) : 60.0;
    frames_->setInterval(static_cast<int>(std::ceil(1000.0 / hz)));
    connect(frames_, &QTimer::timeout, this, &frmTrend::redrawIfChanged);
}

void frmTrend::open() {
    if (!loaded_) {
        const settings::RestoredPlacement restored =
            settings::restorePlacement(store_, settings::PlacementSection::Trend);
        setGeometry(placed_.place(restored.placement, dpi()));
        if (restored.message) showBox(*restored.message);
        loaded_ = true;
    }
    show();
    raise();
    activateWindow();
    frames_->start();
    redrawIfChanged();
}

void frmTrend::closeEvent(QCloseEvent* event) {
    if (loaded_) {
        const auto box =
            settings::savePlacement(store_, settings::PlacementSection::Trend, displayState(),
                                    placed_.placementOf(geometry(), dpi()));
        if (box) showBox(*box);
        loaded_ = false;
    }
    event->accept();
}

void frmTrend::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange && cursor_) {
        usePalette();
        plot_->replot();
    }
    QWidget::changeEvent(event);
}

void frmTrend::usePalette() {
    const QPalette& p = palette();
    const QColor text = p.color(QPalette::Text);
    const QColor base = p.color(QPalette::Base);
    const QColor dimmed = dimmedText(p, QPalette::Text, QPalette::Base);
    // Grid lines a quarter of the way from the background to the text, faint on either.
    const QColor grid((3 * base.red() + text.red()) / 4, (3 * base.green() + text.green()) / 4,
                      (3 * base.blue() + text.blue()) / 4);
    plot_->setBackground(base);
    for (QCPAxis* axis : plot_->axisRect()->axes()) {
        axis->setBasePen(QPen(text));
        axis->setTickPen(QPen(text));
        axis->setSubTickPen(QPen(text));
        axis->setTickLabelColor(text);
        axis->setLabelColor(text);
        axis->grid()->setPen(QPen(grid, 0, Qt::DotLine));
    }
    plot_->legend->setBrush(base);
    plot_->legend->setBorderPen(QPen(text));
    plot_->legend->setTextColor(text);
    cursor_->setPen(QPen(dimmed, 0, Qt::DashLine));
    for (int i = 0; i < plot_->graphCount(); ++i) colourSeries(i);
}

void frmTrend::colourSeries(int index) {
    const QPalette& p = palette();
    QCPGraph* graph = plot_->graph(index);
    graph->setPen(QPen(seriesColour(index, p.color(QPalette::Base)), 1.5));
    if (QCPPlottableLegendItem* entry = plot_->legend->itemWithPlottable(graph))
        entry->setTextColor(graph->visible() ? p.color(QPalette::Text)
                                             : dimmedText(p, QPalette::Text, QPalette::Base));
}

double frmTrend::dpi() const {
    return settings::windowDpi(*this);
}

settings::DisplayState frmTrend::displayState() const {
    return settings::displayStateOf(*this);
}

void frmTrend::showBox(const QString& text) {
    QMessageBox::information(this, QApplication::applicationName(), text);
}

void frmTrend::retitle(const QString& caption) {
    setWindowTitle(QStringLiteral("Trend") + caption);
}

void frmTrend::redrawIfChanged() {
    if (pause_->isChecked() || set_.revision() == drawn_) return;
    redraw();
}

void frmTrend::redraw() {
    drawn_ = set_.revision();
    const auto& series = set_.series();
    if (plot_->graphCount() != static_cast<int>(series.size())) {
        plot_->clearGraphs();
        for (size_t i = 0; i < series.size(); ++i) {
            plot_->addGraph()->setName(series[i].item.name);
            colourSeries(static_cast<int>(i));
        }
    }
    if (following_)
        followNewest();
    else
        fill(static_cast<qint64>(plot_->xAxis->range().lower * 1000),
             static_cast<qint64>(plot_->xAxis->range().upper * 1000));
    showCursor(cursorAt_);
    plot_->replot();
}

void frmTrend::followNewest() {
    qint64 newest = 0;
    for (const TrendSeries& s : set_.series())
        if (!s.history.empty()) newest = std::max(newest, s.history.back().msecs);
    const qint64 from = newest - kFollowedSpan;
    fill(from, newest);
    plot_->xAxis->setRange(static_cast<double>(from) / 1000, static_cast<double>(newest) / 1000);
    plot_->yAxis->rescale(true);
}

// The plot's keys are seconds since the epoch; the set's are milliseconds.
void frmTrend::fill(qint64 from, qint64 to) {
    const auto& series = set_.series();
    const int columns = std::max(1, plot_->axisRect()->width());
    for (int i = 0; i < plot_->graphCount() && i < static_cast<int>(series.size()); ++i) {
        QVector<QCPGraphData> points;
        for (const TrendSample& s :
             decimate(series[static_cast<size_t>(i)].history, from, to, columns))
            points.append({static_cast<double>(s.msecs) / 1000, static_cast<double>(s.value)});
        plot_->graph(i)->data()->set(points, true);
    }
}

void frmTrend::showCursor(double x) {
    cursorAt_ = x;
    if (x < 0) return;
    cursor_->point1->setCoords(x, 0);
    cursor_->point2->setCoords(x, 1);
    cursor_->setVisible(true);
    const auto readings = readAt(set_.series(), static_cast<qint64>(std::llround(x * 1000)));
    QStringList parts{QDateTime::fromMSecsSinceEpoch(std::llround(x * 1000))
                          .toString(QStringLiteral("HH:mm:ss.zzz"))};
    for (size_t i = 0; i < readings.size() && i < static_cast<size_t>(plot_->graphCount()); ++i)
        if (plot_->graph(static_cast<int>(i))->visible())
            parts << QStringLiteral("%1: %2").arg(
                set_.series()[i].item.name,
                readings[i] ? QString::number(readings[i]->value) : QStringLiteral("-"));
    readout_->setText(parts.join(QStringLiteral("   ")));
    plot_->replot(QCustomPlot::rpQueuedReplot);
}

void frmTrend::exportPng() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export Trend as PNG"),
                                                      {}, QStringLiteral("PNG Images (*.png)"));
    if (path.isEmpty()) return;
    setMessage_(plot_->savePng(path)
                    ? QStringLiteral("Trend exported to %1.").arg(path)
                    : QStringLiteral("Could not export the trend to %1.").arg(path));
}

void frmTrend::exportCsv() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export Trend as CSV"),
                                                      {}, QStringLiteral("CSV Files (*.csv)"));
    if (!path.isEmpty()) setMessage_(exportTrendCsv(path, set_.series()));
}

}  // namespace zel
