// A program and its registers uploaded from one simulated controller and downloaded into a
// second one through the real library: the second ends with the program and the registers.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <string>

#include "scripted_transfer_view.h"
#include "tests/support/file_bytes.h"
#include "tests/support/sim_link.h"
#include "transfer/program_transfer.h"

using namespace zel;

TEST(ProgramTransferEndToEnd, AProgramWithItsRegistersMovesToASecondController) {
    const std::string scenario = std::string(ZELSIM_SCENARIOS) + "/registers_model14.json";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("LINE1.DSO"));
    test::ScriptedTransferView view;
    {
        test::SimLink source(scenario);
        source.state.connection.LinkConfigured = true;
        ProgramTransfer transfer(source.state, source.lib, view);
        view.files = {path};
        transfer.UploadProgram();
        ASSERT_EQ(view.log.last(), "info: Program uploaded to " + path)
            << view.log.join('|').toStdString();
        EXPECT_TRUE(view.log.contains("box: Register upload completed!"));
        EXPECT_EQ(source.handle(), 0);
    }
    EXPECT_EQ(test::readBytes(path).left(8), QByteArray("ZELDSO1\n"));
    const qint64 size = QFileInfo(path).size();

    test::SimLink target(scenario);
    target.state.connection.LinkConfigured = true;
    const std::pair<int32_t, int32_t> expected[] = {{1000, 1000}, {36500, 365}, {40000, -40000}};
    for (const auto& [number, value] : expected)
        ASSERT_EQ(target.lib.ZlPutRegister(target.handle(), number, value + 1), 1);
    ProgramTransfer transfer(target.state, target.lib, view);
    view.log.clear();
    view.files = {path};
    transfer.DownloadProgram();
    EXPECT_EQ(view.log.last(), QStringLiteral("info: %1 downloaded.\n\nbytes : %2\n"
                                              "errors : 0\nwarnings : 0\n")
                                   .arg(path)
                                   .arg(size));
    EXPECT_TRUE(view.log.contains("status:  Registers Downloaded: 8500"))
        << view.log.filter("Registers Downloaded").join('|').toStdString();
    EXPECT_EQ(target.handle(), 0);
    int32_t timeout = 2000;
    target.state.connection.CommHandle =
        target.lib.ZlOpenNetConnection(LinkKind::Tcp, 0, *dottedToAddress("127.0.0.1"), timeout);
    ASSERT_GT(target.handle(), 0);
    for (const auto& [number, value] : expected)
        EXPECT_EQ(target.reg(number), value) << "register " << number;
}
