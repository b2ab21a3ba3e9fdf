// Upload and download against the library's test double: every message, the order of the
// checks, the busy flags on every way out, and transfers stopped part way.
#include <gtest/gtest.h>

#include <QStringList>
#include <QTemporaryDir>

#include "datatable/data_table_grid.h"
#include "datatable/table_window_model.h"
#include "link/fake/fake_zel_library.h"
#include "link/link_claim.h"
#include "tests/support/file_bytes.h"

using namespace zel;

namespace {

class RecordingView final : public TableWindowView {
public:
    QString chooseFile(TableFileDialog, const QString&) override { return chosenFile; }
    void setMessage(const QString& text) override { events << "message: " + text; }
    void showProgress(const QString& text) override {
        progress << text;
        if (onProgress) onProgress(text);
    }
    void messageBox(const QString& text) override { events << "box: " + text; }
    void setBusy(bool busy) override { events << (busy ? "busy" : "idle"); }
    void rebuildGrid() override { events << "grid"; }
    void showSize(int32_t rows, int32_t columns) override {
        events << QStringLiteral("size %1 x %2").arg(rows).arg(columns);
    }

    QStringList events;
    QStringList progress;
    std::function<void(const QString&)> onProgress;
    QString chosenFile;
};

struct Transfers {
    Transfers() {
        state.flags.NoCommunication = false;
        state.connection.CommHandle = FakeZelLibrary::kHandle;
        fake.setError(42, QStringLiteral("Timeout"));
    }
    // The controller's table: row r holds r * 10 + k in column k.
    void controllerTable(int32_t rows, int32_t columns) {
        fake.setDataTableDim(rows, columns);
        for (int32_t r = 1; r <= rows; ++r) {
            QVector<int16_t> values;
            for (int32_t k = 1; k <= columns; ++k) values << static_cast<int16_t>(r * 10 + k);
            fake.ZlPutDataTableRow(FakeZelLibrary::kHandle, r, 1, columns, values);
        }
        fake.clearCalls();
    }
    std::vector<int32_t> row(int32_t r) const {
        std::vector<int32_t> values;
        for (int32_t k = 1; k <= table.columns(); ++k) values.push_back(table.value(r, k));
        return values;
    }
    QVector<int32_t> controllerRow(int32_t r, int32_t columns) {
        QVector<int32_t> values;
        fake.ZlGetDataTableRow(FakeZelLibrary::kHandle, r, 1, columns, values);
        return values;
    }
    // Fails the given row call of `call` with result 0.
    void failRow(ZelCall call, int32_t failing) {
        fake.setResponder(call,
                          [failing](const QVector<int32_t>& a) { return a[1] == failing ? 0 : 1; });
    }

    AppState state;
    FakeZelLibrary fake;
    DataTable table;
    RecordingView view;
    TableTransfer transfer{state, fake, table, view, [this] { pumped++; }};
    int pumped = 0;
};

const QString kPadding(255 - 7, u' ');

}  // namespace

TEST(TableTransfer, UploadReadsTheWholeTableRowByRowLettingEventsRun) {
    Transfers t;
    t.controllerTable(3, 2);
    bool busyWhileReading = false;
    t.fake.setResponder(ZelCall::GetDataTableRow, [&](const QVector<int32_t>&) {
        busyWhileReading = t.state.flags.TableUploadBusy;
        return 1;
    });
    t.view.onProgress = [&](const QString&) { t.transfer.upload(); };  // ignored while running
    t.transfer.upload();

    EXPECT_EQ(t.fake.calls(), QStringList({"ZlGetDataTableDim(7)", "ZlGetDataTableRow(7, 1, 1, 2)",
                                           "ZlGetDataTableRow(7, 2, 1, 2)",
                                           "ZlGetDataTableRow(7, 3, 1, 2)"}));
    EXPECT_EQ(t.row(3), (std::vector<int32_t>{31, 32}));
    EXPECT_EQ(t.table.TableMonEndRow, 3);
    EXPECT_EQ(t.view.events,
              QStringList({"busy", "grid", "message: Uploading data table ... Please stand by.",
                           "message: Upload complete.", "size 3 x 2", "idle"}));
    EXPECT_EQ(t.view.progress.last(), "Uploading data table ... row 3 of 3");
    EXPECT_EQ(t.pumped, 3);
    EXPECT_TRUE(busyWhileReading);
    EXPECT_FALSE(t.state.flags.TableUploadBusy);
}

TEST(TableTransfer, AFailedUploadSaysWhyAndClearsTheBusyFlag) {
    const struct {
        const char* name;
        int32_t rows, columns;
        int32_t dimResult;
        int32_t failingRow;
        QString said;
    } cases[] = {
        {"dimensions", 3, 2, 0, 0, "box: Failed to get data table dimensions."},
        {"no rows", 0, 2, 1, 0, "box: There is NO data table to load."},
        {"no columns", 3, 0, 1, 0, "box: There is NO data table to load."},
        {"too wide", 3, 257, 1, 0,
         "box: The controller's data table has more than 256 columns; it cannot be loaded."},
        {"row 2", 3, 2, 1, 2, "message: Failed to get data table row 2.\nTimeout" + kPadding},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Transfers t;
        t.table.resize(1, 1);
        t.table.setValue(1, 1, 99);
        t.controllerTable(c.rows, c.columns);
        t.fake.queueResults(ZelCall::GetDataTableDim, {c.dimResult});
        if (c.failingRow) t.failRow(ZelCall::GetDataTableRow, c.failingRow);
        t.transfer.upload();
        EXPECT_TRUE(t.view.events.contains(c.said)) << t.view.events.join(" | ").toStdString();
        EXPECT_FALSE(t.view.events.contains("message: Upload complete."));
        EXPECT_EQ(t.view.events.last(), "idle");
        EXPECT_FALSE(t.state.flags.TableUploadBusy);
        if (c.failingRow) {
            EXPECT_EQ(t.row(1), (std::vector<int32_t>{11, 12})) << "rows read keep their values";
            EXPECT_EQ(t.row(2), (std::vector<int32_t>{0, 0}));
            EXPECT_EQ(t.fake.callOrder().last(), ZelCall::GetErrorInfo);
        } else {
            EXPECT_EQ(t.table.value(1, 1), 99) << "the table is left as it was";
        }
    }
}

TEST(TableTransfer, MonitoringReadsTheRangeWithinTheTableWithoutTheDimensions) {
    Transfers t;
    t.controllerTable(9, 2);
    t.table.resize(6, 2);
    t.table.TableMonitoring = true;
    t.table.TableMonStartRow = 5;
    t.table.TableMonEndRow = 8;
    t.transfer.upload();
    EXPECT_EQ(t.fake.calls(), QStringList({"ZlGetDataTableRow(7, 5, 1, 2)",
                                           "ZlGetDataTableRow(7, 6, 1, 2)"}));
    EXPECT_EQ(t.row(6), (std::vector<int32_t>{61, 62}));
    EXPECT_EQ(t.table.TableRows, 6);
}

TEST(TableTransfer, DownloadSendsEveryRowAsSixteenBits) {
    Transfers t;
    t.controllerTable(2, 3);
    t.table.resize(2, 3);
    t.table.setValue(1, 1, 40000);
    t.table.setValue(1, 2, 65535);
    t.table.setValue(1, 3, 32767);
    t.table.setValue(2, 1, 32768);
    bool busyWhileWriting = false;
    t.fake.setResponder(ZelCall::PutDataTableRow, [&](const QVector<int32_t>&) {
        busyWhileWriting = t.state.flags.DownloadBusy;
        return 1;
    });
    t.transfer.download();

    EXPECT_EQ(t.fake.calls(),
              QStringList({"ZlGetDataTableDim(7)", "ZlPutDataTableRow(7, 1, 1, 3, [-25536 -1 32767])",
                           "ZlPutDataTableRow(7, 2, 1, 3, [-32768 0 0])"}));
    EXPECT_EQ(t.view.events,
              QStringList({"busy", "message: Downloading data table ... Please stand by.",
                           "message: Download complete.", "idle"}));
    EXPECT_EQ(t.view.progress.last(), "Downloading data table ... row 2 of 2");
    EXPECT_TRUE(busyWhileWriting);
    EXPECT_FALSE(t.state.flags.DownloadBusy);
}

TEST(TableTransfer, DownloadNeverChangesTheControllersSize) {
    const struct {
        const char* name;
        int32_t rows, columns, dimResult;
        QString box;
    } cases[] = {
        {"dimensions", 2, 3, 0, "box: Failed to get data table dimensions."},
        {"more rows", 3, 3, 1, "box: Cannot change data table dimensions."},
        {"fewer columns", 2, 2, 1, "box: Cannot change data table dimensions."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Transfers t;
        t.controllerTable(c.rows, c.columns);
        t.table.resize(2, 3);
        t.fake.queueResults(ZelCall::GetDataTableDim, {c.dimResult});
        t.transfer.download();
        EXPECT_EQ(t.fake.callOrder(), QList{ZelCall::GetDataTableDim});
        EXPECT_EQ(t.view.events, QStringList({"busy", c.box, "idle"}));
        EXPECT_EQ(t.table.TableRows, 2);
        EXPECT_EQ(t.table.columns(), 3);
        EXPECT_FALSE(t.state.flags.DownloadBusy);
    }
}

TEST(TableTransfer, AnInterruptedDownloadLeavesTheRowsBeforeItWrittenAndNamesTheRow) {
    Transfers t;
    t.controllerTable(4, 2);
    t.table.resize(4, 2);
    for (int32_t r = 1; r <= 4; ++r) t.table.setValue(r, 1, 500 + r);
    t.failRow(ZelCall::PutDataTableRow, 3);
    t.transfer.download();

    EXPECT_EQ(t.controllerRow(2, 2), (QVector<int32_t>{502, 0}));
    EXPECT_EQ(t.controllerRow(3, 2), (QVector<int32_t>{31, 32})) << "the failed row is unchanged";
    EXPECT_EQ(t.controllerRow(4, 2), (QVector<int32_t>{41, 42})) << "no row after it is sent";
    EXPECT_EQ(t.view.events.mid(2),
              QStringList({"message: Failed to set data table row 3.\nTimeout" + kPadding,
                           "box: Failed to set data table row.", "idle"}));
    EXPECT_FALSE(t.state.flags.DownloadBusy);
}

// A cancel between rows stops before the next one; a cancel while a row's call is on its way,
// which then fails as on a link that stopped answering, ends the transfer as cancelled too.
TEST(TableTransfer, ACancelStopsBeforeTheNextRowAsAFailedRowWould) {
    for (const bool upload : {true, false}) {
        for (const bool duringRow : {false, true}) {
            SCOPED_TRACE(upload ? "upload" : "download");
            SCOPED_TRACE(duringRow ? "cancelled during row 2" : "cancelled before row 2");
            Transfers t;
            t.controllerTable(3, 1);
            t.table.resize(3, 1);
            for (int32_t r = 1; r <= 3; ++r) t.table.setValue(r, 1, 700 + r);
            const ZelCall rowCall = upload ? ZelCall::GetDataTableRow : ZelCall::PutDataTableRow;
            if (duringRow) {
                t.fake.setResponder(rowCall, [&](const QVector<int32_t>& a) {
                    if (a[1] != 2) return 1;
                    t.transfer.requestCancel();
                    return 0;
                });
            } else {
                t.view.onProgress = [&](const QString& text) {
                    if (text.endsWith("row 2 of 3")) t.transfer.requestCancel();
                };
            }
            upload ? t.transfer.upload() : t.transfer.download();

            EXPECT_EQ(t.view.events.mid(t.view.events.size() - 2),
                      QStringList({upload ? "message: Upload cancelled at row 2."
                                          : "message: Download cancelled at row 2.",
                                   "idle"}));
            EXPECT_FALSE(t.state.flags.TableUploadBusy || t.state.flags.DownloadBusy);
            EXPECT_EQ(t.fake.callOrder().count(rowCall), duringRow ? 2 : 1);
            EXPECT_EQ(t.table.value(2, 1), upload ? 0 : 702);
            if (duringRow) continue;
            EXPECT_EQ(t.controllerRow(2, 1), (QVector<int32_t>{21}));
            EXPECT_EQ(t.controllerRow(1, 1), (QVector<int32_t>{upload ? 11 : 701}));
        }
    }
}

// Another transfer holds the link: the monitoring timer waits quietly, a user's upload or
// download is refused with the reason, and the library is not called.
TEST(TableTransfer, WaitsForAnotherTransferHoldingTheLink) {
    const struct {
        const char* name;
        bool monitoring;
        bool upload;
        QStringList events;
    } cases[] = {
        {"monitoring tick", true, true, {}},
        {"upload", false, true,
         {"message: A transfer is in progress; try again when it has finished."}},
        {"download", false, false,
         {"message: A transfer is in progress; try again when it has finished."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Transfers t;
        t.controllerTable(3, 2);
        t.table.resize(3, 2);
        t.table.TableMonitoring = c.monitoring;
        t.table.TableMonStartRow = 1;
        t.table.TableMonEndRow = 3;
        const LinkClaim firmware(t.state, LinkUse::Transfer);
        c.upload ? t.transfer.upload() : t.transfer.download();
        EXPECT_TRUE(t.fake.calls().isEmpty());
        EXPECT_EQ(t.view.events, c.events);
        EXPECT_TRUE(t.state.flags.DownloadBusy);
    }
}

// While an upload runs the window takes no other command: a table file of the same size opened,
// sizes typed, cells edited, pasted and cut, monitoring switched and a save, all tried between
// its rows, change nothing, and the upload fills the table it started with.
TEST(TableWindow, TakesNoOtherCommandWhileATransferRuns) {
    Transfers t;
    t.controllerTable(3, 2);
    QTemporaryDir dir;
    const QString other = dir.filePath("other.tab");
    ASSERT_TRUE(test::writeBytes(other, "data_table[3][2] =\r\n{\r\n 7 7\r\n 7 7\r\n 7 7\r\n}\r\n"));
    settings::SettingsStore store(dir.filePath("settings.ini"));
    bool tried = false;
    std::function<void()> between;
    TableWindowModel window(t.state, t.fake, store, t.view, [&] {
        if (!tried && between) between();
    });
    DataTableGrid grid(window.table(), &window.transfer());
    window.load();
    between = [&] {
        tried = true;
        t.view.chosenFile = other;
        window.fileOpen();
        window.fileSaveAs();
        window.rowsEntered("5");
        window.colsEntered("4");
        EXPECT_FALSE(grid.flags(grid.index(0, 1)) & Qt::ItemIsEditable);
        EXPECT_FALSE(grid.setData(grid.index(0, 1), "99", Qt::EditRole));
        EXPECT_TRUE(grid.paste(grid.index(1, 1), "98\t97").has_value());
        grid.clear({grid.index(2, 1)});
        EXPECT_FALSE(window.beginMonitoring());
        window.upload();
        window.download();
    };
    window.upload();
    EXPECT_EQ(window.table().TableRows, 3);
    EXPECT_EQ(window.table().columns(), 2);
    for (int32_t r = 1; r <= 3; ++r)
        EXPECT_EQ((std::vector<int32_t>{window.table().value(r, 1), window.table().value(r, 2)}),
                  (std::vector<int32_t>{r * 10 + 1, r * 10 + 2}));
    EXPECT_TRUE(window.table().TableFileName.isEmpty());
    EXPECT_FALSE(window.table().TableMonitoring);
    EXPECT_EQ(t.fake.callOrder().count(ZelCall::GetDataTableRow), 3);
    EXPECT_FALSE(t.fake.callOrder().contains(ZelCall::PutDataTableRow));
    // Taken again once the upload has ended.
    grid.setData(grid.index(0, 1), "99", Qt::EditRole);
    EXPECT_EQ(window.table().value(1, 1), 99);
}
