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
    const MainCommandCheck check = checkMainCommand(command, controls_);
    const QString refused = QStringLiteral("Cannot carry out %1: ").arg(bus::quoted(command));
    switch (check.outcome) {
    case MainCommandCheck::Outcome::Unknown:
        bus::replyError(connection, message, bus::kUnknownCommand,
                        QStringLiteral("Unknown command ") + bus::quoted(command));
        return true;
    case MainCommandCheck::Outcome::Missing:
        bus::replyError(connection, message, bus::kUnavailable,
                        refused + QStringLiteral("the main window has no ") + check.control);
        return true;
    case MainCommandCheck::Outcome::Disabled:
        bus::replyError(connection, message, bus::kUnavailable,
                        refused + check.control + QStringLiteral(" is disabled"));
        return true;
    case MainCommandCheck::Outcome::Ready: break;
    }
    connection.send(message.createReply());
    QMetaObject::invokeMethod(
        this, [this, control = check.control] { controls_->click(control); }, Qt::QueuedConnection);
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
