#include "dde/dbus_items.h"

#include <QHash>

#include "dde/dbus_names.h"
#include "dde/dde_items.h"
#include "dde/dde_model.h"

namespace zel::bus {
namespace {

QList<BusItem> makeItems() {
    QList<BusItem> items;
    const auto array = [&](const char* control, int count, char type, bool writable) {
        for (int i = 1; i <= count; ++i)
            items.append({QLatin1String(control) + QString::number(i),
                          DdeItems::element(control, i), type, writable});
    };
    const auto single = [&](const char* control, char type, bool writable) {
        items.append({QLatin1String(control), QLatin1String(control), type, writable});
    };
    array("FlagValue", kDdeFlags, 'b', false);
    array("RegValue", kDdeBlockRegisters, 'i', false);
    single("RegRead", 'i', false);
    array("BlockRead", kDdeFreeEntries, 'i', false);
    array("BlockAddress", kDdeFreeEntries, 'i', true);
    array("BlockWrite", kDdeFreeEntries, 'i', true);
    for (const char* box : {"FlagAddress", "FlagWrite", "RegAddress", "RegWrite", "Reg50Address",
                            "DDENode"})
        single(box, 'i', true);
    single("Message", 's', false);
    return items;
}

template <QString BusItem::*key>
QHash<QString, const BusItem*> indexBy() {
    QHash<QString, const BusItem*> index;
    for (const BusItem& item : busItems()) index.insert(item.*key, &item);
    return index;
}

}  // namespace

const QList<BusItem>& busItems() {
    static const QList<BusItem> items = makeItems();
    return items;
}

const BusItem* findBusItem(const QString& name) {
    static const QHash<QString, const BusItem*> index = indexBy<&BusItem::name>();
    return index.value(name);
}

const BusItem* findModelItem(const QString& modelName) {
    static const QHash<QString, const BusItem*> index = indexBy<&BusItem::modelName>();
    return index.value(modelName);
}

QVariant typedValue(const BusItem& item, const QString& text) {
    switch (item.type) {
    case 'b': return text == QLatin1String("1");
    case 'i': return text.trimmed().toInt();
    default: return text;
    }
}

bool acceptableText(const QString& text) {
    if (text.isEmpty()) return true;
    bool number = false;
    if (text.size() <= 32) text.trimmed().toDouble(&number);
    return number;
}

QString ddeInterfaceXml() {
    QString xml = QStringLiteral(
                      "  <interface name=\"%1\">\n"
                      "    <method name=\"Execute\"><arg name=\"command\" type=\"s\" "
                      "direction=\"in\"/></method>\n"
                      "    <method name=\"Read\"><arg name=\"item\" type=\"s\" direction=\"in\"/>"
                      "<arg name=\"text\" type=\"s\" direction=\"out\"/></method>\n"
                      "    <method name=\"Write\"><arg name=\"item\" type=\"s\" direction=\"in\"/>"
                      "<arg name=\"text\" type=\"s\" direction=\"in\"/></method>\n"
                      "    <method name=\"OpenLink\"/>\n"
                      "    <method name=\"CloseLink\"/>\n"
                      "    <signal name=\"Changed\"><arg name=\"items\" type=\"a{sv}\"/></signal>\n")
                      .arg(QLatin1String(kDdeInterface));
    for (const BusItem& item : busItems())
        xml += QStringLiteral("    <property name=\"%1\" type=\"%2\" access=\"%3\"/>\n")
                   .arg(item.name, QString(QLatin1Char(item.type)),
                        item.writable ? QStringLiteral("readwrite") : QStringLiteral("read"));
    return xml + QStringLiteral("  </interface>\n");
}

}  // namespace zel::bus
