#include "link/host_resolution.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <QStringList>
#include <algorithm>
#include <cstring>

#include "common/number_text.h"

namespace zel {
namespace {

bool isDigitOrDot(QChar c) {
    return isAsciiDigit(c) || c == u'.';
}

bool partInRange(const QString& part) {
    if (part.isEmpty()) return true;
    bool ok = false;
    const int value = part.toInt(&ok);
    return ok && value <= 255;
}

}  // namespace

bool IsIP(const QString& text) {
    if (text.isEmpty() || text.front() == u'.' || text.back() == u'.') return false;
    if (!std::all_of(text.begin(), text.end(), isDigitOrDot)) return false;
    if (text.count(u'.') != 3) return false;
    const QStringList parts = text.split(u'.');
    return std::all_of(parts.begin(), parts.end(), partInRange);
}

QString ResolveHostName(const QString& hostName) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const QByteArray name = hostName.toLatin1();
    if (getaddrinfo(name.constData(), nullptr, &hints, &found) != 0 || found == nullptr) return {};
    std::array<uint8_t, 4> bytes{};
    const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    std::memcpy(bytes.data(), &address->sin_addr, bytes.size());
    freeaddrinfo(found);
    return AddressToText(bytes);
}

QString AddressToText(const std::array<uint8_t, 4>& bytes) {
    return QStringLiteral("%1.%2.%3.%4").arg(bytes[0]).arg(bytes[1]).arg(bytes[2]).arg(bytes[3]);
}

std::optional<int32_t> dottedToAddress(const QString& dotted) {
    in_addr address{};
    if (inet_pton(AF_INET, dotted.toLatin1().constData(), &address) != 1) return std::nullopt;
    int32_t number = 0;
    std::memcpy(&number, &address.s_addr, sizeof number);
    return number;
}

void resolveControllerHost(ConnectionSettings& settings) {
    settings.ControllerHost = trimBlanks(settings.ControllerHost);
    settings.ControllerIP = settings.ControllerHost;
    settings.HostIsIP = true;
    if (IsIP(settings.ControllerIP)) return;
    settings.ControllerIP = ResolveHostName(settings.ControllerHost);
    settings.HostIsIP = false;
}

}  // namespace zel
