#include "common/form_keys.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include "common/key_codes.h"

namespace zel {

std::optional<QChar> typedKey(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) return QChar(kEnterKey);
    if (event.key() == Qt::Key_Backspace) return QChar(kBackspaceKey);
    const QString text = event.text();
    if (text.isEmpty() || !text.front().isPrint()) return std::nullopt;
    return text.front();
}

bool isDeleteKey(const QKeyEvent& event) {
    return event.key() == Qt::Key_Delete;
}

bool leavesBox(const QEvent& event) {
    if (event.type() != QEvent::FocusOut) return false;
    const Qt::FocusReason reason = static_cast<const QFocusEvent&>(event).reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

}  // namespace zel
