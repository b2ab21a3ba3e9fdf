#include "link/connection_caption.h"

#include "common/number_text.h"

namespace zel {
namespace {

// The trimmed address, and the name the user typed when that was not an address.
QString networkTarget(const ConnectionSettings& settings) {
    QString target = trimBlanks(settings.ControllerIP);
    if (!settings.HostIsIP) target += " - " + settings.ControllerHost;
    return target;
}

}  // namespace

QString connectedText(const ConnectionSettings& settings, int32_t commType) {
    if (commType == kCommZelNet) return "Connected to Node " + QString::number(settings.TargetNode);
    if (commType == kCommUdp) return "Connected to UDP " + networkTarget(settings);
    if (commType == kCommTcp) return "Connected to TCP/IP " + networkTarget(settings);
    if (!isSerialCommType(commType)) return {};
    return QStringLiteral("Connected to COMM%1 Baud %2")
        .arg(serialPortOf(commType))
        .arg(settings.BaudRate);
}

QString captionFromConnectedText(const QString& connectedText) {
    constexpr qsizetype kPrefixLength = 13;  // "Connected to "
    return " - " + connectedText.mid(kPrefixLength);
}

QString startupConnectionCaption(const ConnectionSettings& settings) {
    const int32_t kind = settings.CommType;
    if (kind == kCommZelNet) return " - Node " + QString::number(settings.TargetNode);
    if (isSerialCommType(kind))
        return QStringLiteral(" - COMM %1 Baud %2").arg(serialPortOf(kind)).arg(settings.BaudRate);
    if (kind != kCommUdp && kind != kCommTcp) return {};
    return (kind == kCommUdp ? " - UDP " : " - TCP/IP ") + networkTarget(settings);
}

}  // namespace zel
