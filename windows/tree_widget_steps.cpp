#include "windows/tree_widget_steps.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace zel {
namespace {

constexpr int kKeyRole = Qt::UserRole;
constexpr int kTaskRole = Qt::UserRole + 1;

QString keyOf(const QTreeWidgetItem* item) {
    return item->data(0, kKeyRole).toString();
}

}  // namespace

bool TreeWidgetSteps::isEmpty() const {
    return tree_.topLevelItemCount() == 0;
}

void TreeWidgetSteps::addNode(const QString& parentKey, const QString& key, int32_t task,
                              const QString& text) {
    QTreeWidgetItem* parent = parentKey.isEmpty() ? nullptr : find(parentKey);
    if (!parentKey.isEmpty() && !parent) return;
    auto* item = new QTreeWidgetItem(QStringList(text));
    item->setData(0, kKeyRole, key);
    item->setData(0, kTaskRole, task);
    if (parent)
        parent->addChild(item);
    else
        tree_.addTopLevelItem(item);
    item->setExpanded(true);
}

void TreeWidgetSteps::setText(const QString& key, const QString& text) {
    if (QTreeWidgetItem* item = find(key)) item->setText(0, text);
}

QVector<status::StepNode> TreeWidgetSteps::children(const QString& key) const {
    QVector<status::StepNode> result;
    if (const QTreeWidgetItem* item = find(key)) {
        for (int i = 0; i < item->childCount(); ++i) {
            const QTreeWidgetItem* child = item->child(i);
            result.append({keyOf(child), child->data(0, kTaskRole).toInt()});
        }
    }
    return result;
}

void TreeWidgetSteps::removeNode(const QString& key) {
    delete find(key);
}

QStringList TreeWidgetSteps::keys() const {
    QStringList result;
    for (QTreeWidgetItemIterator it(&tree_); *it; ++it) result << keyOf(*it);
    return result;
}

QTreeWidgetItem* TreeWidgetSteps::find(const QString& key) const {
    for (QTreeWidgetItemIterator it(&tree_); *it; ++it)
        if (keyOf(*it) == key) return *it;
    return nullptr;
}

}  // namespace zel
