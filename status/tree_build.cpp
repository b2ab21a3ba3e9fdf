#include "status/tree_build.h"

#include <algorithm>

namespace zel::status {
namespace {

// Indexes of the lines whose parent is `line`, in line order.
QVector<int> childLines(const QVector<StepLine>& lines, int line) {
    QVector<int> result;
    for (int i = line + 1; i < lines.size(); ++i)
        if (lines[i].parent == line) result.append(i);
    return result;
}

void addSubtree(StepTree& tree, const QString& parentKey, const QVector<StepLine>& lines, int line,
                NodeKeys& keys) {
    const QString key = line == 0 ? QString::fromLatin1(kRootNodeKey) : nodeKey(keys.GetKey());
    tree.addNode(parentKey, key, lines[line].task, lines[line].text);
    for (int child : childLines(lines, line)) addSubtree(tree, key, lines, child, keys);
}

void updateNode(StepTree& tree, const QString& key, const QVector<StepLine>& lines, int line,
                NodeKeys& keys) {
    tree.setText(key, lines[line].text);
    const QVector<int> wanted = childLines(lines, line);
    const auto lineOfTask = [&](int32_t task) {
        const auto at = std::find_if(wanted.begin(), wanted.end(),
                                     [&](int i) { return lines[i].task == task; });
        return at == wanted.end() ? -1 : *at;
    };
    QVector<StepNode> kept;
    for (const StepNode& child : tree.children(key)) {
        if (lineOfTask(child.task) < 0)
            tree.removeNode(child.key);
        else
            kept.append(child);
    }
    for (int child : wanted) {
        const auto node = std::find_if(kept.begin(), kept.end(), [&](const StepNode& n) {
            return n.task == lines[child].task;
        });
        if (node == kept.end())
            addSubtree(tree, key, lines, child, keys);
        else
            updateNode(tree, node->key, lines, child, keys);
    }
}

}  // namespace

void NewBuild(StepTree& tree, const QVector<StepLine>& lines, NodeKeys& keys) {
    if (!lines.isEmpty()) addSubtree(tree, QString(), lines, 0, keys);
}

void OldBuild(StepTree& tree, const QVector<StepLine>& lines, NodeKeys& keys) {
    if (!lines.isEmpty()) updateNode(tree, QString::fromLatin1(kRootNodeKey), lines, 0, keys);
}

void updateStepTree(StepTree& tree, const QVector<StepLine>& lines, NodeKeys& keys) {
    if (tree.isEmpty())
        NewBuild(tree, lines, keys);
    else
        OldBuild(tree, lines, keys);
    keys.ResetKey(tree.keys());
}

}  // namespace zel::status
