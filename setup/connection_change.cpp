#include "setup/connection_change.h"

namespace zel {

SavedConnection SavedConnection::of(const ConnectionSettings& s) {
    return {s.CommType, s.BaudRate, s.CommTimeout, s.TargetNode, s.HostNode, s.ControllerIP};
}

bool connectionMustBeRemade(const SavedConnection& before, const ConnectionSettings& now) {
    if (now.CommType != before.CommType) return true;
    if (now.CommType == kCommZelNet)
        return now.TargetNode != before.TargetNode || now.HostNode != before.HostNode;
    if (now.CommType == kCommUdp || now.CommType == kCommTcp)
        return now.ControllerIP != before.ControllerIP;
    return isSerialCommType(now.CommType) && now.BaudRate != before.BaudRate;
}

QString setupConnectionCaption(const ConnectionSettings& s) {
    if (s.CommType == kCommZelNet) return " - Node " + QString::number(s.TargetNode);
    if (s.CommType == kCommUdp) return " - UDP " + s.ControllerIP;
    if (s.CommType == kCommTcp) return " - TCP/IP " + s.ControllerIP;
    if (!isSerialCommType(s.CommType)) return {};
    return QStringLiteral(" - COMM %1 Baud %2").arg(serialPortOf(s.CommType)).arg(s.BaudRate);
}

}  // namespace zel
