// The numbers behind the step tree's node keys: "t" followed by 1..255; the root is "t0".
#pragma once

#include <QString>
#include <QStringList>
#include <bitset>

namespace zel::status {

inline constexpr int kNodeNumbers = 255;

class NodeKeys {
public:
    // The lowest free number, now marked used; 255, marking nothing, when all are in use.
    int GetKey();
    // Marks as used exactly the numbers of the given node keys ("t" + number).
    void ResetKey(const QStringList& keysInTree);

    bool isUsed(int number) const { return used_.test(static_cast<size_t>(number - 1)); }

private:
    std::bitset<kNodeNumbers> used_;
};

// "t" followed by the number.
QString nodeKey(int number);

}  // namespace zel::status
