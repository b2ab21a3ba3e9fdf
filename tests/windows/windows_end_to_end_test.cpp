// The two windows' models against the simulator through the real library, tick by tick.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QMap>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include "status/plain_step_tree.h"
#include "status/task_banks.h"
#include "tests/support/sim_link.h"
#include "windows/status_window_model.h"

using namespace zel;

namespace {

struct StepStatusWindow {
    explicit StepStatusWindow(const std::string& scenario) : link(scenario) { model.load(); }
    const QString& tick() {
        model.refresh(context);
        return label;
    }
    // Ticks, a few times a second as the monitor does, until `done` holds after a tick or a
    // minute has passed: the program runs in real time, however slowly the tests run.
    template <typename Done>
    void tickUntil(Done done) {
        const QDeadlineTimer bound(60'000);
        for (tick(); !done() && !bound.hasExpired(); tick()) QThread::msleep(50);
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
    QSet<QString> rootSteps;
    QMap<int32_t, QString> keyOfTask;
    bool underTask1 = false, endedAgain = false;
    s.tickUntil([&] {
        EXPECT_EQ(s.label, "Controller Running");
        rootSteps << s.tree.root()->text;
        for (const status::StepNode& node : s.tree.children("t0"))
            EXPECT_EQ(keyOfTask.insert(node.task, keyOfTask.value(node.task, node.key)).value(),
                      node.key);
        const bool under = keyOfTask.contains(1) && !s.tree.children(keyOfTask[1]).isEmpty();
        endedAgain = endedAgain || (underTask1 && !under);
        underTask1 = underTask1 || under;
        return (rootSteps.contains("Step #2") && rootSteps.contains("Step #3") && endedAgain) ||
               ::testing::Test::HasFailure();
    });
    EXPECT_EQ(keyOfTask.keys(), (QList<int32_t>{1, 2, 3}));
    EXPECT_TRUE(rootSteps.contains("Step #2") && rootSteps.contains("Step #3"));
    EXPECT_TRUE(underTask1) << "task 1 starts a short-lived task";
    EXPECT_TRUE(endedAgain) << "which ends again";
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
