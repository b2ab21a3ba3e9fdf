// The step status window's part of the tick, without a display: the run state line, the fault
// that ends the block, the fallback to task banks, and a window closed while events run.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "tests/status/packet_controller.h"
#include "status/plain_step_tree.h"
#include "windows/status_window_model.h"

using namespace zel;

namespace {

class StatusWindow : public ::testing::Test {
protected:
    QTemporaryDir dir;
    settings::SettingsStore store{dir.filePath("settings.conf")};
    FakeZelLibrary fake;
    AppState state;
    test::PacketController controller{32};
    status::PlainStepTree tree;
    QString label;
    std::function<void()> onPump = [] {};
    StatusWindowModel model{state, store, tree, [this](const QString& t) { label = t; },
                            [](const QString&) {}};
    PollContext context{state, fake, [this] { onPump(); }};

    void SetUp() override {
        state.connection.CommHandle = FakeZelLibrary::kHandle;
        state.connection.ModelCode = 5;
        state.connection.TaskCount = 32;
        state.flags.NoCommunication = false;
        controller.answerPackets(fake);
        model.load();
    }
    QString firstChildText() const { return tree.find(tree.children("t0")[0].key)->text; }
};

}  // namespace

TEST_F(StatusWindow, AFaultShowsItsOneBasedStepAndACorruptProgramKeepsTheOldTree) {
    controller.start(0, 1, 100);
    model.refresh(context);
    EXPECT_EQ(label, "Controller Running");
    controller.faultCode = 12;
    controller.faultDatum = 2;
    controller.setStep(1, 101);
    model.refresh(context);
    EXPECT_EQ(label,
              "Controller Software Faulted in Step 1!  - Servo# 3 Error      - (fault code #12)");
    EXPECT_EQ(firstChildText(), "Step #101");

    controller.faultCode = 2;
    controller.faultStep = 41;
    controller.setStep(1, 102);
    model.refresh(context);
    EXPECT_EQ(label,
              "Controller Software Faulted in Step 42!  - Corrupt Program Data      - "
              "(fault code #2)");
    EXPECT_EQ(firstChildText(), "Step #101");
}

TEST_F(StatusWindow, TaskBanksStandInWhenThePacketExchangeFails) {
    controller.stopped = 1;
    controller.start(0, 2, 200);
    controller.serveBanks(fake, 0);
    controller.tamper = [](int, int, const QByteArray&) { return QByteArray(); };
    model.refresh(context);
    EXPECT_EQ(label, "Controller Stopped");
    EXPECT_EQ(firstChildText(), "Step #200");

    fake.setDefaultResult(ZelCall::GetTaskBank, 0);
    label.clear();
    EXPECT_THROW(model.refresh(context), PollingError);
    EXPECT_TRUE(label.isEmpty());
}

TEST_F(StatusWindow, AWindowClosedWhileEventsRunIsLeftAlone) {
    test::PacketController big(64);
    big.start(0, 60, 2);
    big.answerPackets(fake);
    onPump = [this] { model.unloaded(); };
    model.refresh(context);
    EXPECT_TRUE(label.isEmpty());
    EXPECT_TRUE(tree.isEmpty());
    EXPECT_EQ(fake.calls().size(), 3) << "the fetch stopped at the first pump";
}
