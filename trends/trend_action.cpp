#include "trends/trend_action.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

namespace zel {

namespace {

// A text box's own editing entries, each given a mnemonic of its own: Delete and Select All
// come without one, and "Select &All" would take the key of "&Add to Trend".
QMenu* editMenu(QLineEdit* box) {
    QMenu* menu = box->createStandardContextMenu();
    for (QAction* entry : menu->actions()) {
        QString text = entry->text();
        if (text.startsWith(QLatin1String("Delete")))
            entry->setText(text.prepend(u'&'));
        else if (text.startsWith(QLatin1String("Select All")))
            entry->setText(text.insert(8, u'&'));
    }
    menu->addSeparator();
    return menu;
}

}  // namespace

void addTrendAction(QWidget* target, TrendItemSource item, TrendSink add) {
    auto* action = new QAction(QStringLiteral("&Add to Trend"), target);
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
                         QMenu* menu = box ? editMenu(box) : new QMenu(target);
                         action->setEnabled(item().has_value());
                         menu->addActions(target->actions());
                         menu->setAttribute(Qt::WA_DeleteOnClose);
                         menu->popup(target->mapToGlobal(at));
                     });
}

}  // namespace zel
