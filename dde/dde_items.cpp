#include "dde/dde_items.h"

namespace zel {

QString DdeItems::element(const char* control, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(control)).arg(index);
}

void DdeItems::set(const QString& name, const QString& text) {
    const auto at = texts_.find(name);
    if (at != texts_.end() && *at == text) return;
    texts_[name] = text;
    if (!changed_.contains(name)) changed_ << name;
}

void DdeItems::flush() {
    if (held_ || changed_.isEmpty()) return;
    DdeChanges changes;
    for (const QString& name : changed_) changes.append({name, texts_.value(name)});
    changed_.clear();
    if (notice_) notice_(changes);
}

}  // namespace zel
