// Reading the controller's network registers into the address frame and writing them back.
#include "link/lib_error.h"
#include "link/link_claim.h"
#include "setup/network_addresses.h"
#include "common/number_text.h"

namespace zel {
namespace {

constexpr int32_t kNodeRegister = 20000;
constexpr int32_t kMacHighRegister = 20005;
constexpr int32_t kMacLowRegister = 20006;
constexpr int32_t kLoadCommandRegister = 20096;
// First register of the IP address, subnet mask and gateway, four octets each.
constexpr std::array<int32_t, 3> kOctetBlocks = {20048, 20064, 20080};
constexpr int kOctetsPerBlock = 4;

const QString kRegisterFailure = QStringLiteral("Failed to update register value!");

int32_t octetRegister(int field) {
    return kOctetBlocks[static_cast<size_t>(field / kOctetsPerBlock)] + field % kOctetsPerBlock;
}

}  // namespace

bool NetworkAddresses::readRegister(int32_t number, int32_t& value) {
    if (library_.ZlGetRegister(state_.connection.CommHandle, number, value) == 1) return true;
    fetchLibError(library_, state_);
    return false;
}

bool NetworkAddresses::readIntoField(int32_t number, int field) {
    int32_t value = 0;
    if (!readRegister(number, value)) return false;
    fields_[static_cast<size_t>(field)] = QString::number(value);
    return true;
}

bool NetworkAddresses::readOctets(int firstField) {
    for (int field = firstField; field < firstField + kOctetsPerBlock; ++field)
        if (!readIntoField(octetRegister(field), field)) return false;
    return true;
}

void NetworkAddresses::reportFailure(const QString& phrase) {
    host_.showMessageBox(failureText(phrase, state_.LibError));
}

bool NetworkAddresses::readNode() {
    if (!readIntoField(kNodeRegister, kNodeField)) {
        reportFailure(kRegisterFailure);
        return false;
    }
    connection_.setText(SetupField::Text2, fields_[kNodeField]);
    return true;
}

void NetworkAddresses::readMac() {
    int32_t high = 0;
    int32_t low = 0;
    if (!readRegister(kMacHighRegister, high) || !readRegister(kMacLowRegister, low)) {
        reportFailure(kRegisterFailure);
        return;
    }
    macText_ = macIdText(high, low);
}

// Reading or writing the addresses waits for a transfer that holds the link.
bool NetworkAddresses::refusedWhileClaimed() {
    if (linkFree(state_)) return false;
    host_.setMessage(kLinkClaimedMessage);
    return true;
}

void NetworkAddresses::GetAddresses() {
    if (!state_.connection.Connected || refusedWhileClaimed() || !readNode()) return;
    if (!readOctets(0)) {
        // A controller without a network interface has no such registers at all.
        if (trimBlanks(state_.LibError.text) == QLatin1String("Illegal register"))
            host_.showMessageBox(
                QStringLiteral("Failed to get IP addresses! They don't exist in the controller"));
        else
            reportFailure(kRegisterFailure);
        return;
    }
    // The mask and gateway reads fail like any other register read and say so.
    if (!readOctets(kOctetsPerBlock) || !readOctets(2 * kOctetsPerBlock)) {
        reportFailure(kRegisterFailure);
        return;
    }
    // A UDP link keeps the address it was opened with.
    if (state_.settings.CommType != kCommUdp) showIpInConnection();
    readMac();
}

bool NetworkAddresses::writeRegister(int32_t number, int32_t value) {
    if (library_.ZlPutRegister(state_.connection.CommHandle, number, value) == 1) return true;
    fetchLibError(library_, state_);
    return false;
}

bool NetworkAddresses::writeOctets() {
    for (int field = 0; field < kOctetFieldCount; ++field) {
        const int32_t octet = roundToInt32(val(fields_[static_cast<size_t>(field)]));
        if (!writeRegister(octetRegister(field), octet)) return false;
    }
    return true;
}

void NetworkAddresses::apply() {
    if (!state_.connection.Connected) {
        host_.showMessageBox(
            QStringLiteral("Can't load network addresses. Not connected to controller."));
        return;
    }
    if (refusedWhileClaimed()) return;
    const int32_t node = roundToInt32(val(fields_[kNodeField]));
    if (!writeRegister(kNodeRegister, node)) {
        reportFailure(kRegisterFailure);
        return;
    }
    state_.settings.TargetNode = node;
    connection_.setText(SetupField::Text2, QString::number(node));
    if (!writeOctets()) {
        reportFailure(QStringLiteral("Failed to update IP Addresses!"));
        return;
    }
    // Only a request to take the values written above; its answer changes nothing here.
    library_.ZlPutRegister(state_.connection.CommHandle, kLoadCommandRegister, 1);
    if (val(fields_[0]) != 0) showIpInConnection();
    host_.showMessageBox(QStringLiteral(
        "Addresses loaded! Cycle power on your controller for these values to take effect."));
}

}  // namespace zel
