// The DDE window's topic on the bus: its commands, its items read and written by name and as
// typed properties, and the opening and closing of a client's link.
#pragma once

#include <QDBusVirtualObject>

namespace zel {

class DdeLinks;
class DdeModel;

class DdeBusObject : public QDBusVirtualObject {
public:
    DdeBusObject(DdeModel& model, DdeLinks& links, QObject* parent = nullptr)
        : QDBusVirtualObject(parent), model_(model), links_(links) {}

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
    QString introspect(const QString& path) const override;

private:
    void handleDde(const QDBusMessage& message, const QDBusConnection& connection);
    void handleProperties(const QDBusMessage& message, const QDBusConnection& connection);
    // Puts a client's text in a writable box, or answers why not; true when written.
    bool write(const QString& name, const QString& text, const QDBusMessage& message,
               const QDBusConnection& connection);

    DdeModel& model_;
    DdeLinks& links_;
};

}  // namespace zel
