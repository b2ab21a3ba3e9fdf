#include "dde/dbus_main_object.h"

#include <QMetaObject>

#include "dde/dbus_names.h"
#include "dde/dbus_reply.h"
#include "dde/dde_commands.h"

namespace zel {

bool MainBusObject::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
    const QString interface = message.interface();
    if (!interface.isEmpty() && interface != QLatin1String(bus::kMainInterface)) return false;
    if (message.member() != QLatin1String("Execute")) {
        bus::replyUnknownMethod(connection, message);
        return true;
    }
    if (message.signature() != QLatin1String("s")) {
        bus::replyWrongArguments(connection, message, "s");
        return true;
    }
    const QString command = message.arguments().constFirst().toString();
    if (!mainCommandControl(command)) {
        bus::replyError(connection, message, bus::kUnknownCommand,
                        QStringLiteral("Unknown command ") + bus::quoted(command));
        return true;
    }
    connection.send(message.createReply());
    QMetaObject::invokeMethod(this, [this, command] { execute_(command); }, Qt::QueuedConnection);
    return true;
}

QString MainBusObject::introspect(const QString&) const {
    return QStringLiteral(
               "  <interface name=\"%1\">\n"
               "    <method name=\"Execute\"><arg name=\"command\" type=\"s\" "
               "direction=\"in\"/></method>\n"
               "  </interface>\n")
        .arg(QLatin1String(bus::kMainInterface));
}

}  // namespace zel
