// The two windows' models against the simulator through the real library, tick by tick.
#include <gtest/gtest.h>

#include <QMap>
#include <QTemporaryDir>
#include <QThread>

#include "status/plain_step_tree.h"
#include "sim_link.h"
#include "windows/status_window_model.h"
#include "status/task_banks.h"

using namespace zel;

namespace {

struct StepStatusWindow {
    explicit StepStatusWindow(const std::string& scenario) : link(scenario) { model.load(); }
    const QString& tick() {
        model.refresh(context);
        return label;
    }

    test::SimLink link;
    QTemporaryDir dir;
    settings::SettingsStore store{dir.filePath("settings.conf")};
    status::PlainStepTree tree;
    QString label;
    StatusWindowModel model{link.state, store, tree, [this](const QString& t) { label = t; },
                            [](const QString&) {}};
    PollContext context{link.state, link.lib, [] {}};
};

}  // namespace

TEST(WindowsEndToEnd, TheStepTreeFollowsTheDemoProgramWithStableNodes) {
    StepStatusWindow s(ZELSIM_DEMO_SCENARIO);
    QThread::msleep(300);
    QStringList rootSteps;
    QMap<int32_t, QString> keyOfTask;
    int ticksWithATaskUnderTask1 = 0;
    for (int tick = 0; tick < 45; ++tick, QThread::msleep(100)) {
        ASSERT_EQ(s.tick(), "Controller Running");
        rootSteps << s.tree.root()->text;
        for (const status::StepNode& node : s.tree.children("t0"))
            EXPECT_EQ(keyOfTask.insert(node.task, keyOfTask.value(node.task, node.key)).value(),
                      node.key);
        ASSERT_EQ(keyOfTask.keys(), (QList<int32_t>{1, 2, 3}));
        ticksWithATaskUnderTask1 += s.tree.children(keyOfTask[1]).size();
    }
    EXPECT_TRUE(rootSteps.contains("Step #2") && rootSteps.contains("Step #3"));
    EXPECT_GT(ticksWithATaskUnderTask1, 0) << "task 1 starts a short-lived task";
    EXPECT_LT(ticksWithATaskUnderTask1, 45) << "which ends again";
    EXPECT_FALSE(s.link.state.flags.CommErrorFlag);
}

TEST(WindowsEndToEnd, StopAndStartShowInTheRunStateLineAndTaskBanksAgreeWithPackets) {
    StepStatusWindow s(ZELSIM_DEMO_SCENARIO);
    EXPECT_EQ(s.tick(), "Controller Running");
    ASSERT_EQ(s.link.lib.ZlPutStatus(s.link.handle(), 0), 1);  // run time stands still
    EXPECT_EQ(s.tick(), "Controller Stopped");
    status::StatusRecord banks;
    status::readTaskBanks(s.context, banks, [] { return true; });
    EXPECT_EQ(banks.TaskStep, s.model.record().TaskStep);
    EXPECT_EQ(banks.TaskKeys, s.model.record().TaskKeys);
    ASSERT_EQ(s.link.lib.ZlPutStatus(s.link.handle(), 1), 1);
    EXPECT_EQ(s.tick(), "Controller Running");
}

TEST(WindowsEndToEnd, AFaultRaisedByTheProgramShowsItsText) {
    StepStatusWindow s(FAULT_SCENARIO);
    for (int tick = 0; tick < 30 && !s.tick().contains("Faulted"); ++tick) QThread::msleep(100);
    EXPECT_EQ(s.label,
              "Controller Software Faulted in Step 51!  - Servo# 3 Error      - (fault code #12)");
}
