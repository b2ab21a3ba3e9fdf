#include "trends/trend_action.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

namespace zel {

void addTrendAction(QWidget* target, TrendItemSource item, TrendSink add) {
    auto* action = new QAction(QObject::tr("Add to &Trend"), target);
    action->setObjectName(QStringLiteral("addToTrend"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    action->setShortcutContext(Qt::WidgetShortcut);
    target->addAction(action);
    QObject::connect(action, &QAction::triggered, target, [item, add] {
        if (const std::optional<TrendItem> chosen = item()) add(*chosen);
    });

    target->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(target, &QWidget::customContextMenuRequested, target,
                     [target, action, item](const QPoint& at) {
                         auto* box = qobject_cast<QLineEdit*>(target);
                         QMenu* menu = box ? box->createStandardContextMenu() : new QMenu(target);
                         if (box) menu->addSeparator();
                         action->setEnabled(item().has_value());
                         menu->addAction(action);
                         menu->setAttribute(Qt::WA_DeleteOnClose);
                         menu->popup(target->mapToGlobal(at));
                     });
}

}  // namespace zel
