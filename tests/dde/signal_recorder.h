// Receives the DDE topic's Changed signals on a client's connection.
#pragma once

#include <QList>
#include <QObject>
#include <QVariantMap>

namespace zel::test {

class SignalRecorder : public QObject {
    Q_OBJECT
public:
    QList<QVariantMap> received;
public slots:
    void changed(const QVariantMap& items) { received << items; }
};

}  // namespace zel::test
