#include "dde/dbus_service.h"

#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QVariantMap>

#include "dde/dbus_items.h"
#include "dde/dbus_names.h"
#include "dde/dde_model.h"

namespace zel {

DdeBusService::DdeBusService(const QDBusConnection& connection, DdeModel& model,
                             MainControls* mainControls, QObject* parent)
    : QObject(parent),
      connection_(connection),
      model_(model),
      links_(connection, model),
      main_(mainControls),
      dde_(model, links_) {
    status_ = start();
    model_.setLinkStatus(status_);
    if (!name_.isEmpty())
        model_.setServiceNotice([this](const DdeChanges& changes) { sendChanges(changes); });
}

DdeBusService::~DdeBusService() {
    model_.setServiceNotice({});
    if (name_.isEmpty()) return;
    connection_.interface()->unregisterService(name_);
    unregisterObjects();
}

QString DdeBusService::start() {
    const QString unavailable = QStringLiteral("D-Bus link unavailable: ");
    if (!connection_.isConnected())
        return unavailable + QStringLiteral("no session bus (%1)").arg(connection_.lastError().message());
    const QString main = QLatin1String(bus::kMainPath);
    const QString dde = QLatin1String(bus::kDdePath);
    if (!connection_.registerVirtualObject(main, &main_) ||
        !connection_.registerVirtualObject(dde, &dde_)) {
        unregisterObjects();
        return unavailable + QStringLiteral("cannot serve %1 and %2").arg(main, dde);
    }
    for (int n = 1; n <= bus::kMaxInstances; ++n) {
        const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
            connection_.interface()->registerService(bus::instanceName(n),
                                                     QDBusConnectionInterface::DontQueueService,
                                                     QDBusConnectionInterface::DontAllowReplacement);
        if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered)
            continue;
        name_ = bus::instanceName(n);
        if (n == 1) return QStringLiteral("D-Bus link: ") + name_;
        return QStringLiteral("D-Bus link: %1 (%2 is another monitor's)")
            .arg(name_, bus::instanceName(1));
    }
    unregisterObjects();
    return unavailable + QStringLiteral("the names %1 to %2 are all taken")
                             .arg(bus::instanceName(1), bus::instanceName(bus::kMaxInstances));
}

void DdeBusService::unregisterObjects() {
    connection_.unregisterObject(QLatin1String(bus::kMainPath));
    connection_.unregisterObject(QLatin1String(bus::kDdePath));
}

void DdeBusService::sendChanges(const DdeChanges& changes) {
    QVariantMap items;
    for (const auto& [name, text] : changes)
        if (const bus::BusItem* item = bus::findModelItem(name))
            items.insert(item->name, bus::typedValue(*item, text));
    if (items.isEmpty()) return;
    QDBusMessage changed = QDBusMessage::createSignal(
        QLatin1String(bus::kDdePath), QLatin1String(bus::kDdeInterface), QStringLiteral("Changed"));
    changed << items;
    connection_.send(changed);
}

}  // namespace zel
