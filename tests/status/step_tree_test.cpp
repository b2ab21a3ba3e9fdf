// From the decoded record to the step status tree: the step lines, the node numbers, and the
// builders that keep a tree up to date in place.
#include <gtest/gtest.h>

#include "status/build_status_data.h"
#include "status/plain_step_tree.h"
#include "status/recursive_parse.h"
#include "status/tree_build.h"

using namespace zel::status;

namespace {

void start(StatusRecord& record, int starter, int child, int step) {
    record.TaskKeys[size_t(starter)][size_t((child - 1) / 32)] |= 1u << ((child - 1) % 32);
    record.TaskStep[size_t(child)] = step;
}

QStringList texts(const QVector<StepLine>& lines) {
    QStringList out;
    for (const StepLine& line : lines) out << line.text + '<' + QString::number(line.parent);
    return out;
}

}  // namespace

TEST(RecursiveParse, LinesFollowTheStartedTasksDepthFirst) {
    StatusRecord record;
    record.TaskStep[0] = 2;
    start(record, 0, 1, 100);
    start(record, 0, 33, 300);  // second key word
    start(record, 1, 4, 150);
    start(record, 0, 2, kTaskNotExecuted);
    start(record, 0, 17, 170);  // bit 16: beyond a 16-task controller
    EXPECT_EQ(texts(RecursiveParse(record, 64)),
              (QStringList{"Step #2<-1", "Step #100<0", "Step #150<1", "Task Not Executed<0",
                           "Step #170<0", "Step #300<0"}));
    EXPECT_EQ(texts(RecursiveParse(record, 16)),
              (QStringList{"Step #2<-1", "Step #100<0", "Step #150<1", "Task Not Executed<0",
                           "Step #300<0"}));
    const StepNameLookup names = [](int32_t step) { return QStringLiteral("FILL_%1").arg(step); };
    EXPECT_EQ(RecursiveParse(record, 64, names)[0].text, "Step #2 : FILL_2");
}

// The root and the tasks it started, one line each, up to 128 lines: the tree holds as many.
TEST(RecursiveParse, TheLineTableHoldsAt128Lines) {
    const struct {
        int tasks;
        int kept;
        const char* lastLine;
    } cases[] = {{128, 128, "Step #1127"}, {129, 128, "Step #1127"}};
    for (const auto& c : cases) {
        StatusRecord record;
        for (int task = 1; task < c.tasks; ++task) start(record, 0, task, 1000 + task);
        const QVector<StepLine> lines = RecursiveParse(record, 32);
        EXPECT_EQ(lines.size(), c.kept) << c.tasks << " tasks";
        EXPECT_EQ(lines.last().text, c.lastLine) << c.tasks << " tasks";
        PlainStepTree tree;
        NodeKeys keys;
        updateStepTree(tree, lines, keys);
        EXPECT_EQ(tree.keys().size(), c.kept) << c.tasks << " tasks";
    }
    StatusRecord everyTaskStartsEveryTask;
    for (TaskKey& key : everyTaskStartsEveryTask.TaskKeys) key.fill(0xFFFFFFFF);
    EXPECT_EQ(RecursiveParse(everyTaskStartsEveryTask, 32).size(), 128);
}

// Tasks 0..224 are kept; a group reaching past 224 stores its first task only.
TEST(BuildStatusData2, TheLastGroupStopsAtTask224) {
    StatusRecord record;
    TaskGroup group{.total = 232, .offset = 224};
    for (int i = 0; i < 8; ++i) group.records[size_t(i)] = {.step = 500 + i, .state = 1};
    group.records[0].keys[6] = 0x80000000u;  // task 224
    BuildStatusData2(record, {}, group);
    EXPECT_EQ(record.TaskStep[224], 500);
    EXPECT_EQ(record.TaskKeys[224][6], 0x80000000u);
    EXPECT_EQ(record.HighestReferencedTask, 224);
    EXPECT_EQ(record.TaskTotal, 0) << "only group 0 carries the total";
}

TEST(NodeKeys, LowestFreeNumberAndTheLastOneWhenAllAreUsed) {
    NodeKeys keys;
    keys.ResetKey({"t0", "t2", "tx", "t300"});
    EXPECT_EQ(keys.GetKey(), 1);
    EXPECT_EQ(keys.GetKey(), 3);
    for (int i = 4; i <= 255; ++i) ASSERT_EQ(keys.GetKey(), i);
    EXPECT_EQ(keys.GetKey(), 255);
    keys.ResetKey({"t7"});
    EXPECT_EQ(keys.GetKey(), 1);
    EXPECT_FALSE(keys.isUsed(255));
}

TEST(TreeBuild, AnUpdateInPlaceKeepsTheKeysOfTasksThatStay) {
    StatusRecord record;
    PlainStepTree tree;
    NodeKeys keys;
    const auto keyOf = [&](const QString& parent, int task) {
        for (const StepNode& n : tree.children(parent))
            if (n.task == task) return n.key;
        return QString();
    };
    const auto textOf = [&](const QString& key) { return tree.find(key)->text; };
    record.TaskStep[0] = 2;
    start(record, 0, 1, 100);
    start(record, 0, 2, 200);
    start(record, 1, 3, 150);
    updateStepTree(tree, RecursiveParse(record, 32), keys);
    EXPECT_EQ(tree.keys(), (QStringList{"t0", "t1", "t2", "t3"}));
    EXPECT_EQ(textOf(keyOf(keyOf("t0", 1), 3)), "Step #150");

    const QString task2 = keyOf("t0", 2);
    record.TaskKeys[0][0] &= ~1u;  // task 1 ends, and task 3 under it goes too
    record.TaskStep[2] = 201;
    start(record, 2, 5, 250);
    updateStepTree(tree, RecursiveParse(record, 32), keys);
    EXPECT_EQ(tree.children("t0").size(), 1);
    EXPECT_EQ(keyOf("t0", 2), task2);
    EXPECT_EQ(textOf(task2), "Step #201");
    EXPECT_EQ(textOf(keyOf(task2, 5)), "Step #250");
    EXPECT_EQ(tree.keys().size(), 3);
    EXPECT_EQ(keys.GetKey(), 1) << "numbers of removed nodes are free again";
}
