#include "setup/connection_frame.h"

#include <algorithm>
#include <cmath>

#include "link/host_resolution.h"
#include "common/number_text.h"

namespace zel {
namespace {

constexpr int32_t kMinTimeout = 10;
constexpr int32_t kMaxTimeout = 30000;
constexpr int32_t kMinAdapter = 1;
constexpr int32_t kMaxAdapter = 10;
constexpr int32_t kDefaultHostNode = 32001;
constexpr int kResetRateIndex = 1;  // "19200"

// A whole text that reads as a finite number; fields holding anything else keep their setting.
bool isNumericText(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value);
}

int32_t clampedValue(const QString& text, int32_t low, int32_t high) {
    return std::clamp(roundToInt32(val(text)), low, high);
}

}  // namespace

Enabling enablingFor(int32_t commType) {
    if (commType == kCommZelNet) return {false, true, true, false, true};
    if (commType == kCommUdp || commType == kCommTcp) return {false, false, false, true, false};
    if (isSerialCommType(commType)) return {true, false, false, false, false};
    return {};
}

ConnectionFrame::ConnectionFrame(AppState& state, SetupHost& host) : state_(state), host_(host) {
    reset();
}

const QStringList& ConnectionFrame::kindItems() {
    static const QStringList items = [] {
        QStringList list{QStringLiteral("ZelNET"), QStringLiteral("ZelUDP"),
                         QStringLiteral("ZelTCP")};
        for (int port = 1; port <= kCommLastSerial - kCommFirstSerial + 1; ++port)
            list << QStringLiteral("COMM %1").arg(port);
        return list;
    }();
    return items;
}

const QStringList& ConnectionFrame::rateItems() {
    // 56800, not 57600: the same rates the connection manager's baud search walks.
    static const QStringList items{"9600", "19200", "38400", "56800", "115200"};
    return items;
}

void ConnectionFrame::reset() {
    texts_.fill(QString());
    texts_[index(SetupField::Text1)] = QString::number(kDefaultHostNode);
    kindIndex_ = -1;
    rateIndex_ = -1;
    searchChecked_ = false;
    firstKeyTyped_ = false;
    resolveIPText_.clear();
}

void ConnectionFrame::load() {
    const ConnectionSettings& s = state_.settings;
    searchChecked_ = true;
    kindIndex_ = -1;
    chooseKind(s.CommType);
    // The stored rate is not shown: every opening starts from 19200.
    rateIndex_ = kResetRateIndex;
    state_.settings.BaudRate = rateItems()[kResetRateIndex].toInt();
    setText(SetupField::Text3, s.ControllerHost);
    setText(SetupField::Text2, QString::number(s.TargetNode));
    setText(SetupField::Text1, QString::number(s.HostNode));
    setText(SetupField::Adapter, QString::number(s.AdapterIndex));
    setText(SetupField::Text4, QString::number(s.CommTimeout));
}

void ConnectionFrame::chooseKind(int index) {
    if (index < 0 || index >= kindItems().size()) return;
    kindIndex_ = index;
    state_.settings.CommType = index;
    if (index == kCommZelNet && val(text(SetupField::Text1)) == 0) {
        setText(SetupField::Text1, QString::number(kDefaultHostNode));
        state_.settings.HostNode = kDefaultHostNode;
    }
    state_.flags.CommSettingsChanged = true;
    state_.flags.CommErrorFlag = true;
}

void ConnectionFrame::chooseRate(int index) {
    if (index < 0 || index >= rateItems().size()) return;
    rateIndex_ = index;
    state_.settings.BaudRate = rateItems()[index].toInt();
    state_.flags.CommSettingsChanged = true;
}

void ConnectionFrame::setText(SetupField field, const QString& text) {
    texts_[index(field)] = text;
}

void ConnectionFrame::setResolveIPText(const QString& text) {
    if (text == resolveIPText_) return;
    resolveIPText_ = text;
    state_.settings.ControllerHost = this->text(SetupField::Text3);
    resolveControllerHost(state_.settings);
}

void ConnectionFrame::leaveTimeout() {
    const QString& timeout = text(SetupField::Text4);
    if (isNumericText(timeout))
        state_.settings.CommTimeout = clampedValue(timeout, kMinTimeout, kMaxTimeout);
}

void ConnectionFrame::storeOnExit() {
    ConnectionSettings& s = state_.settings;
    leaveTimeout();
    s.HostNode = roundToInt32(val(text(SetupField::Text1)));
    const QString& adapter = text(SetupField::Adapter);
    if (isNumericText(adapter)) s.AdapterIndex = clampedValue(adapter, kMinAdapter, kMaxAdapter);
    s.ControllerHost = text(SetupField::Text3);
    s.TargetNode = roundToInt32(val(text(SetupField::Text2)));
}

}  // namespace zel
