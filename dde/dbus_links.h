// The clients that hold a link to the DDE window's topic, by unique bus name. Each link opened
// sets the exchange running; when the last is closed, or its client leaves the bus, the
// exchange stops as for a closed link.
#pragma once

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QSet>
#include <QString>

namespace zel {

class DdeModel;

class DdeLinks : public QObject {
public:
    DdeLinks(const QDBusConnection& connection, DdeModel& model, QObject* parent = nullptr);

    void open(const QString& client);
    void close(const QString& client);
    qsizetype count() const { return clients_.size(); }

private:
    DdeModel& model_;
    QDBusServiceWatcher watcher_;
    QSet<QString> clients_;
};

}  // namespace zel
