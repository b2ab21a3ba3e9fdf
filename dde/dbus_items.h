// The DDE window's items as other programs see them on the bus: control arrays flattened
// ("FlagValue(3)" is "FlagValue3"), each with the D-Bus type of its property and whether a
// client may write it.
#pragma once

#include <QList>
#include <QString>
#include <QVariant>

namespace zel::bus {

struct BusItem {
    QString name;       // on the bus: "FlagValue3"
    QString modelName;  // in the model: "FlagValue(3)"
    char type;          // 'b', 'i' or 's'
    bool writable;      // an entry box
};

const QList<BusItem>& busItems();
// Null for a name that is no item, on the bus or in the model respectively.
const BusItem* findBusItem(const QString& name);
const BusItem* findModelItem(const QString& modelName);

// The item's text as its property's type: a flag "1" is true, an empty box 0.
QVariant typedValue(const BusItem& item, const QString& text);

// A text a client may put in a box: empty, or a number of at most 32 characters.
bool acceptableText(const QString& text);

// The introspection data of the DDE window's interface.
QString ddeInterfaceXml();

}  // namespace zel::bus
