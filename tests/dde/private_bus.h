// A session bus of the test's own: a dbus-daemon started for it and stopped with it, so the
// tests need no desktop and touch no user's bus.
#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>

namespace zel::test {

class PrivateBus {
public:
    PrivateBus() {
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--print-address"),
                       QStringLiteral("--nofork")});
        while (!daemon_.canReadLine() && daemon_.waitForReadyRead(30'000)) {
        }
        address_ = QString::fromLatin1(daemon_.readLine()).trimmed();
    }
    ~PrivateBus() {
        for (const QString& name : names_) QDBusConnection::disconnectFromBus(name);
        daemon_.kill();
        daemon_.waitForFinished();
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool running() const { return !address_.isEmpty(); }
    // A new connection to the bus, under a process-wide name of its own.
    QDBusConnection connect() {
        static int serial = 0;
        const QString name = QStringLiteral("private-bus-%1").arg(++serial);
        names_ << name;
        return QDBusConnection::connectToBus(address_, name);
    }

    // The connection's client leaves the bus.
    static void leave(QDBusConnection& connection) {
        const QString name = connection.name();
        connection = QDBusConnection(QString());
        QDBusConnection::disconnectFromBus(name);
    }

private:
    QProcess daemon_;
    QString address_;
    QStringList names_;
};

}  // namespace zel::test
