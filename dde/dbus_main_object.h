// The main window's topic on the bus: Execute(s) with the main window's commands. The command
// is checked at once; an unknown one is an error and changes nothing. A known one is answered
// first and carried out afterwards, so a question the window may ask never holds the client.
#pragma once

#include <QDBusVirtualObject>
#include <functional>

namespace zel {

class MainBusObject : public QDBusVirtualObject {
public:
    explicit MainBusObject(std::function<void(const QString&)> execute, QObject* parent = nullptr)
        : QDBusVirtualObject(parent), execute_(std::move(execute)) {}

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
    QString introspect(const QString& path) const override;

private:
    std::function<void(const QString&)> execute_;
};

}  // namespace zel
