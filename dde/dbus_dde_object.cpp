#include "dde/dbus_dde_object.h"

#include <QDBusVariant>
#include <QVariantMap>

#include "dde/dbus_items.h"
#include "dde/dbus_links.h"
#include "dde/dbus_names.h"
#include "dde/dbus_reply.h"
#include "dde/dde_model.h"

namespace zel {
namespace {

const QLatin1String kProperties("org.freedesktop.DBus.Properties");

// The item of a name a client gave, or null after answering that there is none.
const bus::BusItem* knownItem(const QString& name, const QDBusMessage& message,
                              const QDBusConnection& connection) {
    const bus::BusItem* item = bus::findBusItem(name);
    if (!item)
        bus::replyError(connection, message, bus::kUnknownItem,
                        QStringLiteral("No item ") + bus::quoted(name));
    return item;
}

}  // namespace

bool DdeBusObject::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
    const QString interface = message.interface();
    if (interface == kProperties)
        handleProperties(message, connection);
    else if (interface.isEmpty() || interface == QLatin1String(bus::kDdeInterface))
        handleDde(message, connection);
    else
        return false;
    return true;
}

void DdeBusObject::handleDde(const QDBusMessage& message, const QDBusConnection& connection) {
    const QString member = message.member();
    const QString signature = message.signature();
    const QVariantList args = message.arguments();
    if (member == QLatin1String("Execute")) {
        if (signature != QLatin1String("s")) return bus::replyWrongArguments(connection, message, "s");
        if (const std::optional<QString> refused = model_.executeRefusal(args[0].toString()))
            return bus::replyError(connection, message, bus::kUnavailable, *refused);
        if (!model_.execute(args[0].toString()))
            return bus::replyError(connection, message, bus::kUnknownCommand,
                                   QStringLiteral("Unknown command ") +
                                       bus::quoted(args[0].toString()));
    } else if (member == QLatin1String("Read")) {
        if (signature != QLatin1String("s")) return bus::replyWrongArguments(connection, message, "s");
        const bus::BusItem* item = knownItem(args[0].toString(), message, connection);
        if (!item) return;
        connection.send(message.createReply(model_.item(item->modelName)));
        return;
    } else if (member == QLatin1String("Write")) {
        if (signature != QLatin1String("ss"))
            return bus::replyWrongArguments(connection, message, "ss");
        if (!write(args[0].toString(), args[1].toString(), message, connection)) return;
    } else if (member == QLatin1String("OpenLink") && signature.isEmpty()) {
        links_.open(message.service());
    } else if (member == QLatin1String("CloseLink") && signature.isEmpty()) {
        links_.close(message.service());
    } else {
        return bus::replyUnknownMethod(connection, message);
    }
    connection.send(message.createReply());
}

void DdeBusObject::handleProperties(const QDBusMessage& message,
                                    const QDBusConnection& connection) {
    const QString member = message.member();
    const QString signature = message.signature();
    const QVariantList args = message.arguments();
    const char* expected = member == QLatin1String("GetAll") ? "s"
                           : member == QLatin1String("Get") ? "ss"
                           : member == QLatin1String("Set") ? "ssv"
                                                             : nullptr;
    if (!expected) return bus::replyUnknownMethod(connection, message);
    if (signature != QLatin1String(expected))
        return bus::replyWrongArguments(connection, message, expected);
    if (args[0].toString() != QLatin1String(bus::kDdeInterface))
        return bus::replyError(connection, message, "org.freedesktop.DBus.Error.UnknownInterface",
                               QStringLiteral("No interface ") + bus::quoted(args[0].toString()));
    if (member == QLatin1String("GetAll")) {
        QVariantMap all;
        for (const bus::BusItem& item : bus::busItems())
            all.insert(item.name, bus::typedValue(item, model_.item(item.modelName)));
        connection.send(message.createReply(all));
        return;
    }
    const bus::BusItem* item = knownItem(args[1].toString(), message, connection);
    if (!item) return;
    if (member == QLatin1String("Get")) {
        const QVariant value = bus::typedValue(*item, model_.item(item->modelName));
        connection.send(message.createReply(QVariant::fromValue(QDBusVariant(value))));
        return;
    }
    const QVariant value = qvariant_cast<QDBusVariant>(args[2]).variant();
    if (value.metaType() != QMetaType::fromType<int>())
        return bus::replyError(connection, message, "org.freedesktop.DBus.Error.InvalidArgs",
                               item->name + QStringLiteral(" takes an int32 (i)"));
    if (write(item->name, QString::number(value.toInt()), message, connection))
        connection.send(message.createReply());
}

bool DdeBusObject::write(const QString& name, const QString& text, const QDBusMessage& message,
                         const QDBusConnection& connection) {
    const bus::BusItem* item = knownItem(name, message, connection);
    if (!item) return false;
    if (!item->writable) {
        bus::replyError(connection, message, bus::kReadOnly,
                        item->name + QStringLiteral(" is read-only"));
        return false;
    }
    if (!bus::acceptableText(text)) {
        bus::replyError(connection, message, bus::kInvalidValue,
                        item->name + QStringLiteral(" takes a number or nothing, not ") +
                            bus::quoted(text));
        return false;
    }
    if (const std::optional<QString> refused = model_.pokeRefusal(item->modelName)) {
        bus::replyError(connection, message, bus::kUnavailable, *refused);
        return false;
    }
    return model_.poke(item->modelName, text);
}

QString DdeBusObject::introspect(const QString&) const {
    return bus::ddeInterfaceXml();
}

}  // namespace zel
