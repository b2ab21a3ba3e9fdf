// The step tree over the step status window's QTreeWidget: each item keeps its node key and task
// number in its data, so the tree builders can update it in place.
#pragma once

#include "status/step_tree.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace zel {

class TreeWidgetSteps final : public status::StepTree {
public:
    explicit TreeWidgetSteps(QTreeWidget& tree) : tree_(tree) {}

    bool isEmpty() const override;
    void addNode(const QString& parentKey, const QString& key, int32_t task,
                 const QString& text) override;
    void setText(const QString& key, const QString& text) override;
    QVector<status::StepNode> children(const QString& key) const override;
    void removeNode(const QString& key) override;
    QStringList keys() const override;

    // The item of a node key, or null.
    QTreeWidgetItem* find(const QString& key) const;

private:
    QTreeWidget& tree_;
};

}  // namespace zel
