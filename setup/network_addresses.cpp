#include "setup/network_addresses.h"

#include <utility>

#include "common/hex_text.h"
#include "common/number_text.h"

namespace zel {
namespace {

constexpr int kSpaceKey = ' ';
constexpr int kDotKey = '.';

bool validField(int field) {
    return field >= 0 && field < kAddressFieldCount;
}

}  // namespace

QString macIdText(int32_t high, int32_t low) {
    return QStringLiteral("00") + hexText(high) + hexText(low).rightJustified(6, u'0');
}

NetworkAddresses::NetworkAddresses(AppState& state, ZelLibrary& library, SetupHost& host,
                                   ConnectionFrame& connection)
    : state_(state), library_(library), host_(host), connection_(connection) {}

void NetworkAddresses::reset() {
    open_ = false;
    fields_.fill(QString());
    macText_.clear();
    focusRequest_.reset();
}

QString NetworkAddresses::caption() const {
    return open_ ? QStringLiteral("- Change Controller Network Addresses (Click to Close)")
                 : QStringLiteral("+ Change Controller Network Addresses (Click to Open)");
}

void NetworkAddresses::clickFrame() {
    open_ = !open_;
    if (!open_) return;
    focusRequest_ = 0;
    for (int i = 0; i < kOctetFieldCount; ++i) fields_[static_cast<size_t>(i)].clear();
    GetAddresses();
}

void NetworkAddresses::clickField(int field) {
    if (validField(field)) fields_[static_cast<size_t>(field)].clear();
}

void NetworkAddresses::setFieldText(int field, const QString& text) {
    if (!validField(field)) return;
    fields_[static_cast<size_t>(field)] = text.isEmpty() ? text : trimBlanks(strNumber(val(text)));
}

bool NetworkAddresses::keyPress(int field, int key) {
    // "." or a blank ends an octet, so an address is typed in one run across the fields.
    if (field >= 0 && field < kOctetFieldCount && (key == kDotKey || key == kSpaceKey)) {
        focusRequest_ = field + 1;
        return true;
    }
    if (field == kNodeField && key == kSpaceKey) {
        focusRequest_ = 0;
        return true;
    }
    return false;
}

std::optional<int> NetworkAddresses::takeFocusRequest() {
    return std::exchange(focusRequest_, std::nullopt);
}

void NetworkAddresses::showIpInConnection() {
    QString address = fields_[0];
    for (size_t i = 1; i < 4; ++i) address += u'.' + fields_[i];
    connection_.setText(SetupField::Text3, address);
    state_.settings.ControllerIP = trimBlanks(address);
}

}  // namespace zel
