// The key and leave rules of the node and adapter fields, which differ on purpose: Enter lifts
// a low host node to 1, leaving the field sends it to 32767.
#include "setup/connection_frame.h"

#include "common/number_text.h"

namespace zel {

struct ConnectionFrame::NodeRule {
    int32_t maximum;
    int32_t ConnectionSettings::*setting;
    bool followedByDde;  // the DDE window shows the node numbers
    bool marksSettingsChanged;
};

namespace {

constexpr int32_t kMaxNode = 32767;

}  // namespace

const ConnectionFrame::NodeRule& ConnectionFrame::nodeRule(SetupField field) {
    static const NodeRule host{kMaxNode, &ConnectionSettings::HostNode, true, true};
    static const NodeRule target{kMaxNode, &ConnectionSettings::TargetNode, true, false};
    static const NodeRule adapter{10, &ConnectionSettings::AdapterIndex, false, true};
    if (field == SetupField::Text1) return host;
    if (field == SetupField::Text2) return target;
    return adapter;
}

bool ConnectionFrame::keyPress(SetupField field, int key) {
    if (field != SetupField::Text1 && field != SetupField::Text2 && field != SetupField::Adapter)
        return false;
    // The first key typed replaces the old value instead of adding to it.
    if (!firstKeyTyped_) {
        setText(field, QString());
        firstKeyTyped_ = true;
    }
    if (key != kEnterKey) return false;
    enterNodeField(field);
    return true;
}

void ConnectionFrame::enterNodeField(SetupField field) {
    storeNodeValue(field, clampNodeText(field, nodeRule(field).maximum));
    firstKeyTyped_ = false;
}

int32_t ConnectionFrame::clampNodeText(SetupField field, int32_t maximum) {
    const double value = val(text(field));
    if (value < 1) {
        setText(field, QStringLiteral("1"));
        return 1;
    }
    if (value > maximum) {
        setText(field, QString::number(maximum));
        return maximum;
    }
    return roundToInt32(value);
}

void ConnectionFrame::storeNodeValue(SetupField field, int32_t value) {
    const NodeRule& rule = nodeRule(field);
    int32_t& setting = state_.settings.*rule.setting;
    if (value == setting) return;
    setting = value;
    if (rule.followedByDde) host_.setDdeNode(QString::number(value));
    if (rule.marksSettingsChanged) state_.flags.CommSettingsChanged = true;
}

void ConnectionFrame::leave(SetupField field) {
    switch (field) {
        case SetupField::Text1:
            leaveHostNode();
            break;
        case SetupField::Text2:
            storeNodeValue(field, clampNodeText(field, kMaxNode));
            firstKeyTyped_ = false;
            break;
        case SetupField::Text3:
            setResolveIPText(trimBlanks(strNumber(val(resolveIPText_) + 1)));
            break;
        case SetupField::Text4:
            leaveTimeout();
            break;
        case SetupField::Adapter:
            break;
    }
}

void ConnectionFrame::leaveHostNode() {
    const double value = val(text(SetupField::Text1));
    state_.settings.HostNode = roundToInt32(value);
    if (value < 1 || value > kMaxNode) {
        state_.settings.HostNode = kMaxNode;
        setText(SetupField::Text1, QString::number(kMaxNode));
    }
    firstKeyTyped_ = false;
}

}  // namespace zel
