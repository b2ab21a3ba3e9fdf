// Draws the manual's pictures of the trend and traffic windows from a live simulator:
//
//   ZELCOM_TCP_PORT=PORT zelshots LIBRARY OUTDIR
//
// LIBRARY is libzelcom; the simulator runs the demo scenario with registers 100 to 120 refused.
// The trend window plots an analog input and a servo position polled for a few seconds, zoomed
// to what was polled; the traffic window shows the refused reads of those registers.
#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QMouseEvent>
#include <QThread>
#include <cstdio>
#include <qcustomplot.h>

#include "link/dynamic_zel_library.h"
#include "link/host_resolution.h"
#include "link/recording_zel_library.h"
#include "traffic/frm_traffic.h"
#include "trends/frm_trend.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 500;
constexpr int kPolls = 240;
constexpr unsigned long kPollMs = 50;
const QString kCaption = QStringLiteral(" - TCP/IP 127.0.0.1");

// A store never loaded has no section, so the windows open at their default placement and are
// resized to the picture's size; nothing is saved.
zel::settings::SettingsStore& noSettings() {
    static zel::settings::SettingsStore store{QString()};
    return store;
}

bool save(QWidget& window, const QString& path) {
    QApplication::processEvents();
    if (window.grab().save(path, "PNG", 0)) return true;
    std::fprintf(stderr, "zelshots: cannot write %s\n", qPrintable(path));
    return false;
}

// A press on the plot is the user taking the span over, as a drag's first click does.
void zoomToPolled(QCustomPlot& plot, qint64 from, qint64 to) {
    const QPointF centre(plot.width() / 2.0, plot.height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, centre, plot.mapToGlobal(centre), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&plot, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, plot.mapToGlobal(centre),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&plot, &release);
    plot.xAxis->setRange(static_cast<double>(from) / 1000, static_cast<double>(to) / 1000);
    plot.yAxis->setRange(-1000, 21000);
    plot.replot();
}

bool trendPicture(zel::ZelLibrary& lib, int32_t handle, const QString& path) {
    zel::TrendSet set;
    set.add({QStringLiteral("Tank_level"), zel::TrendSource::reg(8502)});
    set.add({QStringLiteral("X_axis"), zel::TrendSource::reg(14001)});
    zel::frmTrend window(set, noSettings(), [](const QString&) {});
    window.retitle(kCaption);
    window.open();
    window.resize(kWidth, kHeight);
    const qint64 first = QDateTime::currentMSecsSinceEpoch();
    for (int poll = 0; poll < kPolls; ++poll) {
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        for (size_t i = 0; i < set.series().size(); ++i) {
            int32_t value = 0;
            if (lib.ZlGetRegister(handle, set.series()[i].item.source.number, value))
                set.record(i, {now, value});
        }
        window.redrawIfChanged();
        QApplication::processEvents();
        QThread::msleep(kPollMs);
    }
    auto* plot = window.findChild<QCustomPlot*>(QStringLiteral("Plot"));
    zoomToPolled(*plot, first, QDateTime::currentMSecsSinceEpoch());
    return save(window, path);
}

bool trafficPicture(zel::RecordingZelLibrary& lib, int32_t handle, const QString& path) {
    zel::frmTraffic window(lib, noSettings(), [](const QString&) {});
    window.retitle(kCaption);
    window.open();
    window.resize(kWidth, kHeight);
    int32_t value = 0;
    for (int32_t number = 95; number <= 125; number += 5) lib.ZlGetRegister(handle, number, value);
    lib.ZlPutRegister(handle, 110, 1);
    window.showRegisters(100, 120);
    window.findChild<QCheckBox*>(QStringLiteral("FailuresOnly"))->setChecked(true);
    window.refresh();
    return save(window, path);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: ZELCOM_TCP_PORT=PORT zelshots LIBRARY OUTDIR\n");
        return 2;
    }
    zel::DynamicZelLibrary real{{QString::fromLocal8Bit(argv[1])}};
    if (!real.isLoaded()) {
        std::fprintf(stderr, "zelshots: %s\n", qPrintable(real.loadError()));
        return 1;
    }
    zel::RecordingZelLibrary lib(real);
    int32_t timeout = 2000;
    const int32_t handle = lib.ZlOpenNetConnection(
        zel::LinkKind::Tcp, 0, *zel::dottedToAddress(QStringLiteral("127.0.0.1")), timeout);
    if (handle <= 0) {
        std::fprintf(stderr, "zelshots: no connection to the simulator\n");
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[2]));
    const bool saved = trendPicture(lib, handle, out.filePath(QStringLiteral("trend.png"))) &&
                       trafficPicture(lib, handle, out.filePath(QStringLiteral("traffic.png")));
    lib.ZlCloseConnection(handle);
    return saved ? 0 : 1;
}
