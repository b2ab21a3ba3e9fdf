// The data table's transfers and grid, each figure measured round by round in the same run and
// reported as the median of the rounds' ratios and their spread:
//  - uploading and downloading the simulator's 1,000 x 64 table over TCP, each as a ratio to
//    (rows x one row's read or write timed on its own), goal 1.1 each;
//  - a 10,000 x 256 table in a table view over the grid's model: the model's data() calls per
//    scroll step as a ratio to the visible cells, goal 2; and the peak memory above the same
//    view left empty, as a ratio to the table's own bytes (10,000 x 258 x 4), goal 1.5.
//
//   zelbench_table [--quick]

#include <QAbstractSlider>
#include <QApplication>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <vector>

#include "child_process.h"
#include "counting_library.h"
#include "datatable/data_table.h"
#include "datatable/data_table_grid.h"
#include "datatable/table_transfer.h"
#include "stats.h"
#include "tests/support/sim_link.h"

using namespace zel;

namespace {

using Clock = std::chrono::steady_clock;

double microsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// Keeps what a transfer said; the progress line only as its latest text, as a status line does.
class RecordingView final : public TableTransferView {
public:
    QStringList messages;
    QString progress;
    void setMessage(const QString& text) override { messages << text; }
    void showProgress(const QString& text) override { progress = text; }
    void messageBox(const QString& text) override { messages << text; }
    void setBusy(bool) override {}
    void rebuildGrid() override {}
    void showSize(int32_t, int32_t) override {}
};

struct RowTrips {
    double readUs = 0;
    double writeUs = 0;
};

struct Transfers {
    double uploadUs = 0;
    double downloadUs = 0;
    double uploadInLibrary = 0;  // shares of the transfers spent inside the library's calls
    double downloadInLibrary = 0;
    bool completed = false;
};

// Each row read, then written back with the values it held, every call timed on its own; the
// medians of those calls. A median leaves out the time slices other processes take, which a
// whole transfer pays, so the transfer's share spent in the library is printed beside it.
RowTrips singleRowTrips(ZelLibrary& library, int32_t handle, int32_t rows, int32_t columns) {
    std::vector<double> reads, writes;
    QVector<int32_t> values;
    QVector<int16_t> back(columns);
    for (int32_t r = 1; r <= rows; ++r) {
        auto start = Clock::now();
        library.ZlGetDataTableRow(handle, r, 1, columns, values);
        reads.push_back(microsSince(start));
        for (int32_t k = 0; k < columns; ++k)
            back[k] = static_cast<int16_t>(static_cast<uint16_t>(values.value(k)));
        start = Clock::now();
        library.ZlPutDataTableRow(handle, r, 1, columns, back);
        writes.push_back(microsSince(start));
    }
    return {bench::spreadOf(std::move(reads)).median, bench::spreadOf(std::move(writes)).median};
}

bool lastMessageIs(const RecordingView& view, const char* text) {
    return !view.messages.isEmpty() && view.messages.back() == QLatin1String(text);
}

bool benchTransfers(int rounds) {
    test::SimLink link(ZELSIM_BIG_TABLE_SCENARIO);
    if (link.handle() <= 0) {
        std::fprintf(stderr, "no connection to the simulator\n");
        return false;
    }
    int32_t rows = 0, columns = 0;
    link.lib.ZlGetDataTableDim(link.handle(), rows, columns);
    DataTable table;
    RecordingView view;
    bench::CountingLibrary counting(link.lib);
    TableTransfer transfer(link.state, counting, table, view, [] {});

    const auto results = bench::inRounds(
        rounds, [&] { return singleRowTrips(link.lib, link.handle(), rows, columns); },
        [&] {
            Transfers t;
            counting.callNs = 0;
            auto start = Clock::now();
            transfer.upload();
            t.uploadUs = microsSince(start);
            t.uploadInLibrary = counting.callNs / 1000 / t.uploadUs;
            const bool uploaded = lastMessageIs(view, "Upload complete.");
            counting.callNs = 0;
            start = Clock::now();
            transfer.download();
            t.downloadUs = microsSince(start);
            t.downloadInLibrary = counting.callNs / 1000 / t.downloadUs;
            t.completed = uploaded && lastMessageIs(view, "Download complete.");
            return t;
        });
    using R = decltype(results)::value_type;
    for (const R& r : results)
        if (!r.work.completed) {
            std::fprintf(stderr, "a transfer did not complete: %s\n",
                         qPrintable(view.messages.join(QStringLiteral(" | "))));
            return false;
        }
    const auto print = [&](const char* what, double Transfers::*work, double Transfers::*inLibrary,
                           double RowTrips::*trip, const char* call) {
        const auto workMs =
            bench::spreadOver(results, [&](const R& r) { return r.work.*work / 1000; });
        const auto tripUs = bench::spreadOver(results, [&](const R& r) { return r.floor.*trip; });
        std::printf(
            "%s of the %d x %d table: %.1f ms (%.1f-%.1f) vs %d x one %s %.1f us "
            "(%.1f-%.1f) | ",
            what, rows, columns, workMs.median, workMs.min, workMs.max, rows, call, tripUs.median,
            tripUs.min, tripUs.max);
        bench::printRatio(
            bench::spreadOver(results,
                              [&](const R& r) { return r.work.*work / (rows * r.floor.*trip); }),
            results.size(), 1.1);
        const auto share =
            bench::spreadOver(results, [&](const R& r) { return r.work.*inLibrary; });
        std::printf("  in the library %.1f%% of the %s (%.1f-%.1f)\n", 100 * share.median, what,
                    100 * share.min, 100 * share.max);
    };
    print("upload", &Transfers::uploadUs, &Transfers::uploadInLibrary, &RowTrips::readUs,
          "ZlGetDataTableRow");
    print("download", &Transfers::downloadUs, &Transfers::downloadInLibrary, &RowTrips::writeUs,
          "ZlPutDataTableRow");
    return true;
}

constexpr int32_t kGridRows = 10000;
constexpr int32_t kGridColumns = 256;
// What the table holds as the grid shows it: Row #, the values and the Message column, one
// 32-bit word each.
constexpr double kTableKb = kGridRows * (kGridColumns + 2) * 4 / 1024.0;
constexpr QSize kWindow(1024, 768);

void fill(DataTable& table) {
    table.resize(kGridRows, kGridColumns);
    for (int32_t r = 1; r <= kGridRows; ++r)
        for (int32_t c = 1; c <= kGridColumns; ++c) table.setValue(r, c, (r * 31 + c * 7) % 65536);
}

// Columns as wide as the table window makes them.
void setColumnWidths(QTableView& view, const DataTableGrid& grid) {
    const double twipsPerPixel = 1440.0 / view.logicalDpiX();
    for (int c = 0; c < grid.columnCount(); ++c)
        view.setColumnWidth(c, static_cast<int>(grid.columnWidthTwips(c) / twipsPerPixel));
}

// Passes every data() call to the grid, counting them by role.
class CountingProxy final : public QIdentityProxyModel {
public:
    mutable std::map<int, long> callsByRole;
    QVariant data(const QModelIndex& index, int role) const override {
        ++callsByRole[role];
        return QIdentityProxyModel::data(index, role);
    }
};

// The cells the viewport shows, wholly or in part.
long visibleCells(const QTableView& view) {
    const QSize size = view.viewport()->size();
    const auto span = [](int first, int last, int count) {
        if (first < 0) return 0;
        return (last < 0 ? count - 1 : last) - first + 1;
    };
    const int rows = span(view.rowAt(0), view.rowAt(size.height() - 1), view.model()->rowCount());
    const int columns =
        span(view.columnAt(0), view.columnAt(size.width() - 1), view.model()->columnCount());
    return static_cast<long>(rows) * columns;
}

// The steps of one round: lines and pages down, then pages to the right and back to the left.
const std::vector<std::pair<Qt::Orientation, QAbstractSlider::SliderAction>>& scrollSteps() {
    using S = QAbstractSlider;
    static const std::vector<std::pair<Qt::Orientation, S::SliderAction>> steps = {
        {Qt::Vertical, S::SliderSingleStepAdd},   {Qt::Vertical, S::SliderSingleStepAdd},
        {Qt::Vertical, S::SliderSingleStepAdd},   {Qt::Vertical, S::SliderPageStepAdd},
        {Qt::Vertical, S::SliderPageStepAdd},     {Qt::Vertical, S::SliderPageStepAdd},
        {Qt::Horizontal, S::SliderPageStepAdd},   {Qt::Horizontal, S::SliderPageStepAdd},
        {Qt::Horizontal, S::SliderSingleStepSub}, {Qt::Horizontal, S::SliderPageStepSub},
    };
    return steps;
}

void scroll(QTableView& view, Qt::Orientation orientation, QAbstractSlider::SliderAction action) {
    QScrollBar* bar =
        orientation == Qt::Vertical ? view.verticalScrollBar() : view.horizontalScrollBar();
    bar->triggerAction(action);
    QApplication::processEvents();
}

// What the view asked of the grid in one scroll step. The item delegate asks for every role it
// draws with, once per painted cell: the role asked most often counts the cells read.
struct StepCalls {
    long calls = 0;      // data() calls of every role
    long cellsRead = 0;  // data() calls of the role asked most
    long visible = 0;    // cells shown after the step
    double ratio() const { return static_cast<double>(cellsRead) / static_cast<double>(visible); }
};

StepCalls step(QTableView& view, CountingProxy& proxy, Qt::Orientation orientation,
               QAbstractSlider::SliderAction action) {
    proxy.callsByRole.clear();
    scroll(view, orientation, action);
    StepCalls s;
    for (const auto& [role, calls] : proxy.callsByRole) {
        s.calls += calls;
        s.cellsRead = std::max(s.cellsRead, calls);
    }
    s.visible = visibleCells(view);
    return s;
}

// The step of a round that read the most cells for what it shows; each round starts further
// down the table.
StepCalls worstStepOfRound(QTableView& view, CountingProxy& proxy, int round) {
    view.scrollTo(proxy.index(round * 600, 0), QAbstractItemView::PositionAtTop);
    view.horizontalScrollBar()->setValue(0);
    QApplication::processEvents();
    StepCalls worst;
    for (const auto& [orientation, action] : scrollSteps()) {
        const StepCalls s = step(view, proxy, orientation, action);
        if (worst.visible == 0 || s.ratio() > worst.ratio()) worst = s;
    }
    return worst;
}

bool benchGridCalls(int rounds) {
    DataTable table;
    fill(table);
    DataTableGrid grid(table);
    CountingProxy proxy;
    proxy.setSourceModel(&grid);
    QTableView view;
    view.setModel(&proxy);
    setColumnWidths(view, grid);
    view.resize(kWindow);
    view.show();
    QApplication::processEvents();
    std::vector<StepCalls> worst;
    for (int i = 0; i < rounds; ++i) worst.push_back(worstStepOfRound(view, proxy, i));
    const auto of = [&](long StepCalls::*field) {
        return bench::spreadOver(worst,
                                 [&](const StepCalls& s) { return static_cast<double>(s.*field); });
    };
    const auto read = of(&StepCalls::cellsRead), visible = of(&StepCalls::visible),
               calls = of(&StepCalls::calls);
    if (read.min == 0) {
        std::fprintf(stderr, "the view asked the model for nothing while scrolling\n");
        return false;
    }
    std::printf(
        "%d x %d table in a %dx%d view, cells read by the scroll step that reads most: "
        "%.0f (%.0f-%.0f) vs %.0f visible (%.0f-%.0f) | ",
        kGridRows, kGridColumns, kWindow.width(), kWindow.height(), read.median, read.min, read.max,
        visible.median, visible.min, visible.max);
    bench::printRatio(bench::spreadOver(worst, [](const StepCalls& s) { return s.ratio(); }),
                      worst.size(), 2.0);
    std::printf("  data() calls of every role in that step: %.0f (%.0f-%.0f), %.2f per cell read\n",
                calls.median, calls.min, calls.max, calls.median / read.median);
    return true;
}

// The view shown at the window's size, with the table or empty, scrolled a page down and right
// so that it has painted more than its first screen.
long viewPeakKb(int argc, char** argv, bool withTable) {
    QApplication app(argc, argv);
    DataTable table;
    DataTableGrid grid(table);
    QTableView view;
    if (withTable) {
        fill(table);
        view.setModel(&grid);
        setColumnWidths(view, grid);
    }
    view.resize(kWindow);
    view.show();
    QApplication::processEvents();
    scroll(view, Qt::Vertical, QAbstractSlider::SliderPageStepAdd);
    scroll(view, Qt::Horizontal, QAbstractSlider::SliderPageStepAdd);
    scroll(view, Qt::Vertical, QAbstractSlider::SliderToMaximum);
    return bench::peakMemoryKb();
}

bool benchGridMemory(int argc, char** argv, int rounds) {
    const auto peaks = bench::inRounds(
        rounds, [&] { return bench::inChild([&] { return viewPeakKb(argc, argv, false); }); },
        [&] { return bench::inChild([&] { return viewPeakKb(argc, argv, true); }); });
    using R = decltype(peaks)::value_type;
    for (const R& r : peaks)
        if (r.floor == 0 || r.work == 0) {
            std::fprintf(stderr, "a view in a child process failed\n");
            return false;
        }
    const auto kb = [](long v) { return static_cast<double>(v); };
    const auto withTable = bench::spreadOver(peaks, [&](const R& r) { return kb(r.work); });
    const auto empty = bench::spreadOver(peaks, [&](const R& r) { return kb(r.floor); });
    const auto above =
        bench::spreadOver(peaks, [&](const R& r) { return kb(r.work) - kb(r.floor); });
    std::printf(
        "peak memory with the table shown: %.0f kB (%.0f-%.0f) vs the empty view %.0f kB "
        "(%.0f-%.0f); %.0f kB above it (%.0f-%.0f) vs the table's %.0f kB | ",
        withTable.median, withTable.min, withTable.max, empty.median, empty.min, empty.max,
        above.median, above.min, above.max, kTableKb);
    bench::printRatio(
        bench::spreadOver(peaks, [&](const R& r) { return (kb(r.work) - kb(r.floor)) / kTableKb; }),
        peaks.size(), 1.5);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int rounds = quick ? 15 : 31;
    // The children fork before this process starts its own application.
    if (!benchGridMemory(argc, argv, rounds)) return 1;
    if (!benchTransfers(rounds)) return 1;
    QApplication app(argc, argv);
    return benchGridCalls(rounds) ? 0 : 1;
}
