// A program uploaded from the simulator and downloaded back through the real library.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "scripted_transfer_view.h"
#include "tests/windows/sim_link.h"

using namespace zel;

TEST(ProgramTransferEndToEnd, AnUploadedProgramDownloadsBackIntoTheSimulator) {
    test::SimLink link(ZELSIM_DEMO_SCENARIO);
    link.state.connection.LinkConfigured = true;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DEMO.DSO"));
    test::ScriptedTransferView view;
    ProgramTransfer transfer(link.state, link.lib, view);

    view.files = {path};
    transfer.UploadProgram();
    ASSERT_EQ(view.log.last(), "info: Program uploaded to " + path) << view.log.join('|').toStdString();
    EXPECT_EQ(link.handle(), 0);
    QFile uploaded(path);
    ASSERT_TRUE(uploaded.open(QIODevice::ReadOnly));
    EXPECT_EQ(uploaded.read(8), QByteArray("ZELDSO1\n"));
    const qint64 size = QFileInfo(path).size();

    int32_t timeout = 2000;
    link.state.connection.CommHandle =
        link.lib.ZlOpenNetConnection(LinkKind::Tcp, 0, *dottedToAddress("127.0.0.1"), timeout);
    ASSERT_GT(link.handle(), 0);
    view.log.clear();
    view.files = {path};
    transfer.DownloadProgram();
    EXPECT_EQ(view.log, QStringList({"dialog: Select Tavrel Object File",
                                     "status: Downloading " + path,
                                     "status: Download Complete!",
                                     QStringLiteral("info: %1 downloaded.\n\nbytes : %2\n"
                                                    "errors : 0\nwarnings : 0\n")
                                         .arg(path)
                                         .arg(size)}));
    EXPECT_EQ(link.handle(), 0);
}
