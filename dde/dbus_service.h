// The live data link for other programs: the main window's and the DDE window's topics on the
// D-Bus session bus, under the first free name of this desktop (docs/dbus.md). Without a bus,
// or without a free name, the monitor runs as before and the DDE window says why.
#pragma once

#include <QDBusConnection>
#include <QObject>

#include "dde/dbus_dde_object.h"
#include "dde/dbus_links.h"
#include "dde/dbus_main_object.h"
#include "dde/dde_items.h"

namespace zel {

class DdeModel;

class DdeBusService : public QObject {
public:
    // `mainControls` are what the main window's commands click; null for a monitor without
    // a main window, whose commands are then all refused.
    DdeBusService(const QDBusConnection& connection, DdeModel& model, MainControls* mainControls,
                  QObject* parent = nullptr);
    ~DdeBusService() override;

    // The name taken on the bus; empty while the link is unavailable.
    const QString& name() const { return name_; }
    // What the DDE window shows about the link.
    const QString& status() const { return status_; }
    qsizetype linkCount() const { return links_.count(); }

private:
    QString start();
    void unregisterObjects();
    // One Changed signal with the changed items that are on the bus, if any.
    void sendChanges(const DdeChanges& changes);

    QDBusConnection connection_;
    DdeModel& model_;
    DdeLinks links_;
    MainBusObject main_;
    DdeBusObject dde_;
    QString name_;
    QString status_;
};

}  // namespace zel
