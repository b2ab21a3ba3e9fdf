// A step tree held in memory: what the tree builders are tested against, and a record of what a
// tree view would show.
#pragma once

#include <memory>
#include <vector>

#include "status/step_tree.h"

namespace zel::status {

class PlainStepTree final : public StepTree {
public:
    struct Node {
        QString key;
        int32_t task = 0;
        QString text;
        std::vector<std::unique_ptr<Node>> children;
    };

    bool isEmpty() const override { return !root_; }
    void addNode(const QString& parentKey, const QString& key, int32_t task,
                 const QString& text) override;
    void setText(const QString& key, const QString& text) override;
    QVector<StepNode> children(const QString& key) const override;
    void removeNode(const QString& key) override;
    QStringList keys() const override;

    // The node with the key, or null.
    const Node* find(const QString& key) const;
    const Node* root() const { return root_.get(); }

private:
    Node* findNode(const QString& key) const;

    std::unique_ptr<Node> root_;
};

}  // namespace zel::status
