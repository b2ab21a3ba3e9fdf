#include "status/plain_step_tree.h"

#include <algorithm>

namespace zel::status {
namespace {

using Node = PlainStepTree::Node;

Node* search(Node* node, const QString& key) {
    if (!node) return nullptr;
    if (node->key == key) return node;
    for (const auto& child : node->children)
        if (Node* found = search(child.get(), key)) return found;
    return nullptr;
}

void collectKeys(const Node& node, QStringList& keys) {
    keys << node.key;
    for (const auto& child : node.children) collectKeys(*child, keys);
}

// Removes the node with the key from under `parent`, searching the whole subtree.
bool removeUnder(Node& parent, const QString& key) {
    auto& list = parent.children;
    const auto at = std::find_if(list.begin(), list.end(),
                                 [&](const std::unique_ptr<Node>& n) { return n->key == key; });
    if (at != list.end()) {
        list.erase(at);
        return true;
    }
    return std::any_of(list.begin(), list.end(),
                       [&](const std::unique_ptr<Node>& n) { return removeUnder(*n, key); });
}

}  // namespace

void PlainStepTree::addNode(const QString& parentKey, const QString& key, int32_t task,
                            const QString& text) {
    auto node = std::make_unique<Node>(Node{key, task, text, {}});
    if (parentKey.isEmpty()) {
        root_ = std::move(node);
    } else if (Node* parent = findNode(parentKey)) {
        parent->children.push_back(std::move(node));
    }
}

void PlainStepTree::setText(const QString& key, const QString& text) {
    if (Node* node = findNode(key)) node->text = text;
}

QVector<StepNode> PlainStepTree::children(const QString& key) const {
    QVector<StepNode> result;
    if (const Node* node = find(key))
        for (const auto& child : node->children) result.append({child->key, child->task});
    return result;
}

void PlainStepTree::removeNode(const QString& key) {
    if (!root_) return;
    if (root_->key == key)
        root_.reset();
    else
        removeUnder(*root_, key);
}

QStringList PlainStepTree::keys() const {
    QStringList result;
    if (root_) collectKeys(*root_, result);
    return result;
}

const Node* PlainStepTree::find(const QString& key) const {
    return findNode(key);
}

Node* PlainStepTree::findNode(const QString& key) const {
    return search(root_.get(), key);
}

}  // namespace zel::status
