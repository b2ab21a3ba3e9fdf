// Replies to a client's call on the bus.
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>

namespace zel::bus {

// A client's text quoted in an error, cut short so a huge one does not come back whole.
inline QString quoted(const QString& text) {
    constexpr int kShown = 40;
    return u'"' + (text.size() > kShown ? text.left(kShown) + QStringLiteral("...") : text) + u'"';
}

inline void replyError(const QDBusConnection& connection, const QDBusMessage& call,
                       const char* error, const QString& text) {
    connection.send(call.createErrorReply(QLatin1String(error), text));
}

// The call's arguments do not have the signature its method takes.
inline void replyWrongArguments(const QDBusConnection& connection, const QDBusMessage& call,
                                const char* expected) {
    replyError(connection, call, "org.freedesktop.DBus.Error.InvalidArgs",
               QStringLiteral("%1 takes (%2), not (%3)")
                   .arg(call.member(), QLatin1String(expected), call.signature()));
}

inline void replyUnknownMethod(const QDBusConnection& connection, const QDBusMessage& call) {
    replyError(connection, call, "org.freedesktop.DBus.Error.UnknownMethod",
               QStringLiteral("No method %1.%2").arg(call.interface(), call.member()));
}

}  // namespace zel::bus
