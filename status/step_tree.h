// The tree the step lines are shown in, as the tree builders see it. The step status window
// implements it over its tree view; PlainStepTree holds it in memory.
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>

namespace zel::status {

inline constexpr char kRootNodeKey[] = "t0";

struct StepNode {
    QString key;
    int32_t task = 0;
};

class StepTree {
public:
    virtual ~StepTree() = default;

    virtual bool isEmpty() const = 0;
    // Adds a node, shown expanded, as the last child of `parentKey`; an empty parent key makes
    // it the root.
    virtual void addNode(const QString& parentKey, const QString& key, int32_t task,
                         const QString& text) = 0;
    virtual void setText(const QString& key, const QString& text) = 0;
    virtual QVector<StepNode> children(const QString& key) const = 0;
    // Removes the node and everything under it.
    virtual void removeNode(const QString& key) = 0;
    // The keys of every node in the tree.
    virtual QStringList keys() const = 0;
};

}  // namespace zel::status
