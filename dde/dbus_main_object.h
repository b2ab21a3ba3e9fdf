// The main window's topic on the bus: Execute(s) with the main window's commands. The command
// is checked at once; an unknown one, or one whose button or menu entry is missing or disabled,
// is an error and changes nothing. Any other is answered first and carried out afterwards, so
// a question the window may ask never holds the client.
#pragma once

#include <QDBusVirtualObject>

#include "dde/dde_commands.h"

namespace zel {

class MainBusObject : public QDBusVirtualObject {
public:
    // `controls` null: no command finds its control.
    explicit MainBusObject(MainControls* controls, QObject* parent = nullptr)
        : QDBusVirtualObject(parent), controls_(controls) {}

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
    QString introspect(const QString& path) const override;

private:
    MainControls* controls_;
};

}  // namespace zel
