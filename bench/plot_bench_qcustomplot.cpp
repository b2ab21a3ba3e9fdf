// The trend plot's library (QCustomPlot) drawing the benchmark load (plot_bench_data.h)
// offscreen.
//
//   QT_QPA_PLATFORM=offscreen zelbench_plot [frames]     (20 by default)
#include <qcustomplot.h>
#include <QApplication>
#include <cstdlib>

#include "plot_bench_data.h"

using namespace zel;
using namespace zel::bench;

namespace {

void fill(QCustomPlot& plot, const std::vector<std::deque<TrendSample>>& data, bool thin,
          qint64 from, qint64 to) {
    for (int s = 0; s < kSeries; ++s) {
        QVector<QCPGraphData> points;
        if (thin)
            for (const TrendSample& p : decimate(data[s], from, to, kWidth))
                points.append({static_cast<double>(p.msecs), static_cast<double>(p.value)});
        else
            for (const TrendSample& p : data[s])
                points.append({static_cast<double>(p.msecs), static_cast<double>(p.value)});
        plot.graph(s)->data()->set(points, true);
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int frames = argc > 1 ? std::atoi(argv[1]) : 20;
    const auto data = plotData();
    const qint64 end = data[0].back().msecs;

    QCustomPlot plot;
    plot.resize(kWidth, kHeight);
    for (int s = 0; s < kSeries; ++s)
        plot.addGraph()->setPen(QPen(QColor::fromHsv(s * 45, 255, 200)));
    plot.legend->setVisible(true);
    plot.setNotAntialiasedElements(QCP::aePlottables);  // as the trend window draws

    fill(plot, data, false, 0, end);
    report("QCustomPlot, every sample", frames, [&](int n) {
        plot.xAxis->setRange(n * 100.0, static_cast<double>(end));
        plot.yAxis->rescale();
        plot.replot(QCustomPlot::rpImmediateRefresh);
    });
    report("QCustomPlot, thinned to pixel columns", frames, [&](int n) {
        fill(plot, data, true, n * 100, end);
        plot.xAxis->setRange(n * 100.0, static_cast<double>(end));
        plot.yAxis->rescale();
        plot.replot(QCustomPlot::rpImmediateRefresh);
    });
    for (int s = 0; s < kSeries; ++s) plot.graph(s)->data()->clear();
    report("QCustomPlot, no samples (the floor)", frames, [&](int n) {
        plot.xAxis->setRange(n * 100.0, static_cast<double>(end));
        plot.replot(QCustomPlot::rpImmediateRefresh);
    });
    return 0;
}
