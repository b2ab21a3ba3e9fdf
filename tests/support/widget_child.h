// Looking up a window's controls by object name, as the forms name them.
#pragma once

#include <gtest/gtest.h>

#include <QObject>
#include <QString>
#include <QVariant>

namespace zel::test {

// The named control, or a failure naming the one missing.
template <typename Widget>
Widget* child(const QObject& parent, const char* name) {
    auto* found = parent.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// The text the named label, box or button shows.
inline QString textOf(const QObject& parent, const char* name) {
    const QObject* found = child<QObject>(parent, name);
    return found ? found->property("text").toString() : QString();
}

}  // namespace zel::test
