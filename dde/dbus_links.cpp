#include "dde/dbus_links.h"

#include <QDBusConnectionInterface>

#include "dde/dde_model.h"

namespace zel {

DdeLinks::DdeLinks(const QDBusConnection& connection, DdeModel& model, QObject* parent)
    : QObject(parent),
      model_(model),
      watcher_({}, connection, QDBusServiceWatcher::WatchForUnregistration) {
    connect(&watcher_, &QDBusServiceWatcher::serviceUnregistered, this,
            [this](const QString& client) { close(client); });
}

void DdeLinks::open(const QString& client) {
    if (!clients_.contains(client)) {
        watcher_.addWatchedService(client);
        // A client that left before the watch began would never be seen leaving.
        QDBusConnectionInterface* bus = watcher_.connection().interface();
        if (bus && !bus->isServiceRegistered(client).value()) {
            watcher_.removeWatchedService(client);
            return;
        }
        clients_.insert(client);
    }
    // Every link opened starts the exchange, also one opened after Cancel DDE while others
    // were open.
    model_.clientLinked(true);
}

void DdeLinks::close(const QString& client) {
    if (!clients_.remove(client)) return;
    watcher_.removeWatchedService(client);
    if (clients_.isEmpty()) model_.clientLinked(false);
}

}  // namespace zel
