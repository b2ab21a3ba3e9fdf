// The transfers against the demo simulator through the real library.
#include <gtest/gtest.h>

#include "datatable/row_text.h"
#include "datatable/table_transfer.h"
#include "tests/support/sim_link.h"

using namespace zel;

namespace {

class QuietView final : public TableTransferView {
public:
    void setMessage(const QString& text) override { messages << text; }
    void showProgress(const QString&) override {}
    void messageBox(const QString& text) override { messages << "box: " + text; }
    void setBusy(bool) override {}
    void rebuildGrid() override {}
    void showSize(int32_t, int32_t) override {}
    QStringList messages;
};

}  // namespace

TEST(TableEndToEnd, AnEditedCellGoesToTheSimulatorAndTheRestComesBackUnchanged) {
    test::SimLink link(ZELSIM_DEMO_SCENARIO);
    DataTable table;
    QuietView view;
    int pumped = 0;
    TableTransfer transfer(link.state, link.lib, table, view, [&] { pumped++; });

    transfer.upload();
    ASSERT_EQ(view.messages.last(), "Upload complete.") << view.messages.join('|').toStdString();
    ASSERT_EQ(table.TableRows, 10);
    ASSERT_EQ(table.columns(), 8);
    EXPECT_EQ(table.value(2, 1), 80);
    EXPECT_EQ(table.value(10, 1), 65535);
    EXPECT_EQ(table.value(10, 3), 40000);

    ASSERT_TRUE(applyCellText(table, 2, 1, QStringLiteral("54321")));
    transfer.download();
    ASSERT_EQ(view.messages.last(), "Download complete.") << view.messages.join('|').toStdString();
    EXPECT_EQ(pumped, 20);

    QVector<int32_t> row;
    ASSERT_EQ(link.lib.ZlGetDataTableRow(link.handle(), 2, 1, 8, row), 1);
    EXPECT_EQ(row, (QVector<int32_t>{54321, 90, 100, 110, 120, 130, 140, 150}));
    ASSERT_EQ(link.lib.ZlGetDataTableRow(link.handle(), 10, 1, 8, row), 1);
    EXPECT_EQ(row, (QVector<int32_t>{65535, 0, 40000, 1, 2, 3, 4, 5}));
    EXPECT_FALSE(link.state.flags.TableUploadBusy || link.state.flags.DownloadBusy);
}
