#include "resources/edit_guard.h"

namespace zel {

EntryKey EditGuard::key(int row, QChar key, QString& box) {
    row_ = row;
    if (key == kEnterKey) return EntryKey::Enter;
    if (gotoKeys_.contains(key)) return EntryKey::FocusGoto;
    if (!active_) {
        box.clear();
        active_ = true;
    }
    return EntryKey::Typed;
}

void EditGuard::deleteKey(int row, QString& box) {
    row_ = row;
    box.clear();
    active_ = true;
}

void EditGuard::focusLost(QString& box) {
    if (!active_) return;
    active_ = false;
    box.clear();
}

}  // namespace zel
