#include "zelctl/connection_argument.h"

#include <QStringList>

#include "link/host_resolution.h"

namespace zel::ctl {
namespace {

constexpr int32_t kLastNode = 32767;
constexpr int32_t kDefaultTimeoutMs = 1000;

std::optional<int32_t> numberIn(const QString& text, int32_t low, int32_t high) {
    bool ok = false;
    const int32_t n = text.toInt(&ok);
    if (!ok || n < low || n > high) return std::nullopt;
    return n;
}

}  // namespace

std::optional<ConnectionSettings> parseConnectionArgument(const QString& text, QString& error) {
    ConnectionSettings s;
    s.CommTimeout = kDefaultTimeoutMs;
    const qsizetype colon = text.indexOf(u':');
    const QString kind = text.left(colon);
    const QString rest = colon < 0 ? QString() : text.mid(colon + 1);
    if ((kind == "tcp" || kind == "udp") && !rest.isEmpty()) {
        s.CommType = kind == "tcp" ? kCommTcp : kCommUdp;
        s.ControllerHost = rest;
        resolveControllerHost(s);
        return s;
    }
    if (kind == "serial") {
        const QStringList parts = rest.split(u'@');
        const auto port = numberIn(parts[0], 1, kCommLastSerial - kCommFirstSerial + 1);
        const auto baud = parts.size() == 2 ? numberIn(parts[1], 1, 10'000'000)
                                            : std::optional<int32_t>(kDefaultSerialBaud);
        if (port && baud && parts.size() <= 2) {
            s.CommType = kCommFirstSerial + *port - 1;
            s.BaudRate = *baud;
            return s;
        }
    }
    if (kind == "zelnet") {
        const QStringList parts = rest.split(u':');
        const auto own = numberIn(parts[0], 1, kLastNode);
        const auto node = parts.size() == 2 ? numberIn(parts[1], 1, kLastNode) : std::nullopt;
        if (own && node) {
            s.CommType = kCommZelNet;
            s.HostNode = *own;
            s.TargetNode = *node;
            return s;
        }
    }
    error = QStringLiteral("not a connection: ") + text +
            QStringLiteral(" (tcp:HOST, udp:HOST, serial:N[@BAUD] or zelnet:OWN:NODE)");
    return std::nullopt;
}

}  // namespace zel::ctl
