// The DDE window's data items, each by the name of its control ("FlagValue(1)", "RegRead",
// "Message"), with the change notice its clients get: the items whose text changed since the
// last notice, and only those. Control arrays are named with their index in brackets; their
// unused index 0 is not an item.
#pragma once

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>
#include <functional>

namespace zel {

// Changed items with their new texts, in the order they changed.
using DdeChanges = QList<QPair<QString, QString>>;

class DdeItems {
public:
    using Notice = std::function<void(const DdeChanges&)>;

    explicit DdeItems(Notice notice) : notice_(std::move(notice)) {}

    // "FlagValue" and 3 give "FlagValue(3)".
    static QString element(const char* control, int index);

    bool contains(const QString& name) const { return texts_.contains(name); }
    QString text(const QString& name) const { return texts_.value(name); }
    QStringList names() const { return texts_.keys(); }

    // Sets an item's text; a text that differs is kept for the next notice.
    void set(const QString& name, const QString& text);
    // Sends the changes kept so far, if any, in one notice. While held (during a tick), the
    // changes wait for the release.
    void flush();
    void hold() { held_ = true; }
    void release() {
        held_ = false;
        flush();
    }

private:
    Notice notice_;
    QMap<QString, QString> texts_;
    QStringList changed_;
    bool held_ = false;
};

}  // namespace zel
