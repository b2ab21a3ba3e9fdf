// Compare with Controller against a simulated controller through the real library: the list
// holds exactly the registers that differ, and only the ticked ones are written back, only
// after the confirmation.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "tests/support/sim_link.h"
#include "transfer/register_compare.h"
#include "transfer/register_file.h"

using namespace zel;

namespace {

class AnsweringView final : public RegisterCompareView {
public:
    void setMessage(const QString& text) override { message = text; }
    void setProgress(int) override {}
    void setBusy(bool) override {}
    bool confirm(const QString& question) override {
        questions << question;
        return answer;
    }
    QString message;
    QStringList questions;
    bool answer = false;
};

void writeFile(const QString& path, const QList<std::pair<int32_t, QString>>& lines) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(registerFileHeader());
    for (const auto& [number, value] : lines)
        file.write(registerFileLine(QString::number(number), value));
}

}  // namespace

class RegisterCompareEndToEnd : public ::testing::Test {
protected:
    test::SimLink link{std::string(ZELSIM_SCENARIOS) + "/registers_model1.json"};
    QTemporaryDir dir;
    QString path = dir.filePath("regs.txt");
    AnsweringView view;
    RegisterCompare compare{link.state, link.lib, nullptr, view, {}};

    QList<int32_t> listed() const {
        QList<int32_t> numbers;
        for (const RegisterDifference& d : compare.differences()) numbers << d.number;
        return numbers;
    }
};

// Registers 1, 500 and 1000 hold 11, -5 and 1000; 2 and 3 hold 0.
TEST_F(RegisterCompareEndToEnd, ListsTheDifferencesAndWritesBackOnlyTheTickedAfterConfirming) {
    writeFile(path, {{1, "12"}, {2, "0"}, {3, "0"}, {500, "5"}, {1000, "*"}, {999, "-7"}});
    ASSERT_TRUE(compare.compare(path)) << view.message.toStdString();
    EXPECT_EQ(listed(), (QList<int32_t>{1, 500, 999}));
    EXPECT_EQ(compare.csv(),
              "Register,Symbol,Value in file,Value now\r\n"
              "1,,12,11\r\n500,,5,-5\r\n999,,-7,0\r\n");

    compare.sort(RegisterCompare::FileColumn, Qt::DescendingOrder);
    EXPECT_EQ(listed(), (QList<int32_t>{1, 500, 999}));
    compare.sort(RegisterCompare::NowColumn, Qt::AscendingOrder);
    EXPECT_EQ(listed(), (QList<int32_t>{500, 999, 1}));

    for (int row : {0, 2})  // 500 and 1
        compare.setData(compare.index(row, RegisterCompare::RegisterColumn), Qt::Checked,
                        Qt::CheckStateRole);
    compare.writeTicked();
    EXPECT_EQ(view.questions,
              QStringList{"Write the file's value into 2 register(s) of the controller?"});
    EXPECT_EQ(link.reg(1), 11);
    EXPECT_EQ(link.reg(500), -5);
    EXPECT_EQ(listed(), (QList<int32_t>{500, 999, 1}));

    view.answer = true;
    compare.writeTicked();
    EXPECT_EQ(link.reg(1), 12);
    EXPECT_EQ(link.reg(500), 5);
    EXPECT_EQ(link.reg(999), 0);
    EXPECT_EQ(listed(), QList<int32_t>{999});
    EXPECT_EQ(view.message, "Register #1 updated.");
    EXPECT_FALSE(link.state.flags.DownloadBusy);
}

TEST_F(RegisterCompareEndToEnd, ABadLineIsNamedAndNothingIsCompared) {
    writeFile(path, {{1, "12"}});
    ASSERT_TRUE(compare.compare(path));
    writeFile(path, {{1, "12"}, {2, "x"}});
    EXPECT_FALSE(compare.compare(path));
    EXPECT_EQ(view.message, path + " is not a register value file. Line 4: \"x\" is not a "
                                   "32-bit value. Nothing was compared.");
    EXPECT_EQ(listed(), QList<int32_t>{1});
}
