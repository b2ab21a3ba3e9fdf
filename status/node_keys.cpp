#include "status/node_keys.h"

namespace zel::status {

int NodeKeys::GetKey() {
    for (int number = 1; number <= kNodeNumbers; ++number) {
        if (!isUsed(number)) {
            used_.set(static_cast<size_t>(number - 1));
            return number;
        }
    }
    return kNodeNumbers;
}

void NodeKeys::ResetKey(const QStringList& keysInTree) {
    used_.reset();
    for (const QString& key : keysInTree) {
        bool ok = false;
        const int number = key.mid(1).toInt(&ok);
        if (key.startsWith(u't') && ok && number >= 1 && number <= kNodeNumbers)
            used_.set(static_cast<size_t>(number - 1));
    }
}

QString nodeKey(int number) {
    return QStringLiteral("t") + QString::number(number);
}

}  // namespace zel::status
