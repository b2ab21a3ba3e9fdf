// Hands each Changed signal of the DDE topic that reaches a client to a function.
#pragma once

#include <QObject>
#include <QVariantMap>
#include <functional>

namespace zel::bench {

class ChangedReceiver : public QObject {
    Q_OBJECT
public:
    std::function<void(const QVariantMap&)> onChanged;
public slots:
    void changed(const QVariantMap& items) {
        if (onChanged) onChanged(items);
    }
};

}  // namespace zel::bench
