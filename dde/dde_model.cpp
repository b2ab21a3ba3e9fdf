#include "dde/dde_model.h"

#include <algorithm>

#include "common/key_codes.h"
#include "common/number_text.h"
#include "link/lib_error.h"
#include "link/link_claim.h"
#include "link/link_session.h"

namespace zel {
namespace {

constexpr int32_t kFlagSetBase = 13200;  // 13200 + n writes flag n
constexpr int32_t kHighestBlock = 20;
constexpr int32_t kHighestNode = 999;
constexpr int kRegisterRows = 10;
constexpr int kRegistersPerRow = 5;

const QString kFlagAddress = QStringLiteral("FlagAddress");
const QString kRegAddress = QStringLiteral("RegAddress");
const QString kReg50Address = QStringLiteral("Reg50Address");
const QString kDDENode = QStringLiteral("DDENode");
const QString kFlagWrite = QStringLiteral("FlagWrite");
const QString kRegWrite = QStringLiteral("RegWrite");

// A flag is set by any value of 1 or more and cleared by any value below 0.
int32_t flagState(double value) {
    if (value < 0) return 0;
    if (value >= 1) return 1;
    return static_cast<int32_t>(roundHalfEven(value));
}

}  // namespace

DdeModel::DdeModel(AppState& state, ZelLibrary& library, Hooks hooks)
    : state_(state),
      library_(library),
      hooks_(std::move(hooks)),
      items_([this](const DdeChanges& changes) {
          if (hooks_.changed) hooks_.changed(changes);
          if (serviceNotice_) serviceNotice_(changes);
      }) {
    for (int i = 1; i <= kDdeFlags; ++i) items_.set(DdeItems::element("FlagValue", i), "0");
    for (int i = 1; i <= kDdeBlockRegisters; ++i) items_.set(DdeItems::element("RegValue", i), "0");
    for (int row = 0; row < 4; ++row)
        items_.set(DdeItems::element("lblFlag", row), QStringLiteral("Flag %1:").arg(8 * row + 1));
    labelRegisterRows(1);
    items_.set(QStringLiteral("RegRead"), "0");
    for (int i = 1; i <= kDdeFreeEntries; ++i) {
        items_.set(DdeItems::element("BlockAddress", i), QString::number(i));
        items_.set(DdeItems::element("BlockRead", i), "0");
        items_.set(DdeItems::element("BlockWrite", i), {});
    }
    for (const QString& box : {kFlagWrite, kRegWrite}) items_.set(box, {});
}

void DdeModel::load() {
    const DdeSetup& dde = state_.dde;
    items_.set(kFlagAddress, QString::number(dde.DdeFlagAddress));
    items_.set(kRegAddress, QString::number(dde.DdeRegAddress));
    items_.set(kReg50Address, QString::number(dde.DdeBlock50));
    items_.set(kDDENode, QString::number(state_.settings.TargetNode));
    items_.set(QStringLiteral("DdeInterval"), QString::number(dde.UpdateInterval));
    setActive(state_.flags.DdeActive);
    items_.flush();
}

void DdeModel::setWindow(std::function<void()> hide, DdeItems::Notice changed) {
    hooks_.hide = std::move(hide);
    hooks_.changed = std::move(changed);
    if (!hooks_.changed) return;
    DdeChanges every;
    for (const QString& name : items_.names()) every.append({name, items_.text(name)});
    hooks_.changed(every);
}

std::optional<DdeModel::Box> DdeModel::boxOf(const QString& name) const {
    if (name == kFlagAddress) return Box::FlagAddress;
    if (name == kRegAddress) return Box::RegAddress;
    if (name == kReg50Address) return Box::Reg50Address;
    if (name == kDDENode) return Box::DDENode;
    if (name == kFlagWrite) return Box::FlagWrite;
    if (name == kRegWrite) return Box::RegWrite;
    if ((name.startsWith(QLatin1String("BlockAddress(")) ||
         name.startsWith(QLatin1String("BlockWrite("))) &&
        items_.contains(name))
        return Box::Free;
    return std::nullopt;
}

void DdeModel::setBox(const QString& box, const QString& text) {
    items_.set(box, text);
    items_.flush();
}

void DdeModel::setActive(bool active) {
    state_.flags.DdeActive = active;
    items_.set(QStringLiteral("Message"), active
                                              ? QStringLiteral("Controller Communication in progress")
                                              : QStringLiteral("No Controller Communication in progress"));
    items_.set(QStringLiteral("Command3d1"),
               active ? QStringLiteral("Cancel DDE") : QStringLiteral("Start DDE"));
}

int32_t DdeModel::boxValue(const QString& box) const {
    return roundToInt32(val(items_.text(box)));
}

bool DdeModel::keyPress(const QString& box, char16_t key) {
    const std::optional<Box> kind = boxOf(box);
    if (!kind) return false;
    if (key == kEnterKey) {
        switch (*kind) {
        case Box::FlagWrite:
        case Box::RegWrite:
            if (!state_.flags.NoCommunication) {
                if (*kind == Box::FlagWrite)
                    writeFlag();
                else
                    writeRegister();
            }
            editing_.reset();
            break;
        case Box::Free:
            break;
        default:
            applyAddress(box, *kind);
        }
        items_.flush();
        return true;
    }
    // The first key of an entry empties the box for it; in an address box other than the
    // node it also pauses the exchange, so that no half-typed address is read.
    if (*kind != Box::Free && !editing_) {
        if (*kind == Box::FlagAddress || *kind == Box::RegAddress || *kind == Box::Reg50Address)
            setActive(false);
        editing_ = box;
        items_.set(box, {});
        items_.flush();
    }
    return false;
}

bool DdeModel::textChanged(const QString& box, const QString& text) {
    const std::optional<Box> kind = boxOf(box);
    if (!kind) return false;
    items_.set(box, text);
    if (!editing_ && *kind != Box::FlagWrite && *kind != Box::RegWrite && *kind != Box::Free)
        copyAddress(*kind, roundToInt32(val(text)));
    items_.flush();
    return true;
}

void DdeModel::focusLost(const QString& box) {
    if (editing_ != box) return;
    const Box kind = *boxOf(box);
    if (kind == Box::FlagWrite || kind == Box::RegWrite)
        editing_.reset();
    else
        applyAddress(box, kind);
    items_.flush();
}

// Enter in an address box, or leaving it while it is typed into: the value, clamped to the
// box's limits, goes to its setting and the exchange runs again. The node box neither pauses
// nor restarts the exchange; a node out of range is ignored.
void DdeModel::applyAddress(const QString& box, Box kind) {
    editing_.reset();
    const int32_t typed = boxValue(box);
    if (kind == Box::DDENode) {
        if (typed >= 1 && typed <= kHighestNode) {
            state_.settings.TargetNode = typed;
            linkLost(state_);
        }
        items_.set(box, QString::number(state_.settings.TargetNode));
        return;
    }
    int32_t limit = kHighestBlock;
    if (kind == Box::FlagAddress) limit = state_.connection.Counts.FlagCount();
    if (kind == Box::RegAddress) limit = state_.RegisterLimit;
    const int32_t value = std::clamp(typed, 0, std::max(limit, 0));
    items_.set(box, QString::number(value));
    copyAddress(kind, value);
    if (kind == Box::Reg50Address && value >= 1) labelRegisterRows(value);
    setActive(true);
}

void DdeModel::copyAddress(Box kind, int32_t value) {
    switch (kind) {
    case Box::FlagAddress: state_.dde.DdeFlagAddress = value; break;
    case Box::RegAddress: state_.dde.DdeRegAddress = value; break;
    case Box::Reg50Address: state_.dde.DdeBlock50 = value; break;
    case Box::DDENode:
        if (value >= 1 && value <= kHighestNode) state_.settings.TargetNode = value;
        break;
    default: break;
    }
}

void DdeModel::labelRegisterRows(int32_t block) {
    for (int row = 0; row < kRegisterRows; ++row)
        items_.set(DdeItems::element("lblReg", row),
                   QStringLiteral("Reg %1:").arg(kDdeBlockRegisters * (block - 1) +
                                                  kRegistersPerRow * row + 1));
}

// A write made while a transfer holds the link would wait on it with the window frozen.
bool DdeModel::writeRefused() {
    if (linkFree(state_)) return false;
    if (hooks_.setMessage) hooks_.setMessage(kLinkClaimedMessage);
    return true;
}

void DdeModel::put(int32_t number, int32_t value, const char* failure) {
    if (writeRefused()) return;
    if (library_.ZlPutRegister(state_.connection.CommHandle, number, value) == 1) return;
    fetchLibError(library_, state_);
    if (hooks_.setMessage)
        hooks_.setMessage(failureText(QString::fromLatin1(failure), state_.LibError));
}

void DdeModel::writeFlag() {
    put(kFlagSetBase + state_.dde.DdeFlagAddress, flagState(val(items_.text(kFlagWrite))),
        "Failed to update Flag value!");
}

void DdeModel::writeRegister() {
    put(state_.dde.DdeRegAddress, boxValue(kRegWrite), "Failed to update register value!");
}

// A refused block keeps its entries for another try.
void DdeModel::writeBlockData() {
    if (writeRefused()) return;
    for (int i = 1; i <= kDdeFreeEntries && !state_.flags.NoCommunication; ++i) {
        const QString box = DdeItems::element("BlockWrite", i);
        if (items_.text(box).isEmpty()) continue;
        put(boxValue(DdeItems::element("BlockAddress", i)), boxValue(box),
            "Failed to update register value!");
        items_.set(box, {});
    }
    items_.flush();
}

void DdeModel::toggleExchange() {
    setActive(!state_.flags.DdeActive);
    items_.flush();
}

void DdeModel::clientLinked(bool linked) {
    setActive(linked);
    items_.flush();
}

void DdeModel::setInterval(int milliseconds) {
    const int interval = std::max(milliseconds, kDdeIntervalFloor);
    state_.dde.UpdateInterval = interval;
    items_.set(QStringLiteral("DdeInterval"), QString::number(interval));
    if (hooks_.setPollingInterval) hooks_.setPollingInterval(interval);
    items_.flush();
}

bool DdeModel::poke(const QString& box, const QString& text) {
    if (!textChanged(box, text)) return false;
    if (boxOf(box) != Box::Free) keyPress(box, kEnterKey);
    return true;
}

std::optional<QString> DdeModel::pokeRefusal(const QString& box) const {
    const std::optional<Box> kind = boxOf(box);
    const bool writes = kind == Box::FlagWrite || kind == Box::RegWrite;
    if (writes && !linkFree(state_)) return kLinkClaimedMessage;
    return std::nullopt;
}

std::optional<QString> DdeModel::executeRefusal(const QString& command) const {
    if (ddeCommand(command) == DdeCommand::Download && !linkFree(state_)) return kLinkClaimedMessage;
    return std::nullopt;
}

void DdeModel::setLinkStatus(const QString& text) {
    items_.set(QStringLiteral("lblLink"), text);
    items_.flush();
}

void DdeModel::showMessage(const QString& text) {
    items_.set(QStringLiteral("Message"), text);
    items_.flush();
}

bool DdeModel::execute(const QString& command) {
    const std::optional<DdeCommand> which = ddeCommand(command);
    if (!which) return false;
    switch (*which) {
    case DdeCommand::Start: toggleExchange(); break;
    case DdeCommand::Exit:
        if (hooks_.hide) hooks_.hide();
        break;
    case DdeCommand::Download: writeBlockData(); break;
    }
    return true;
}

}  // namespace zel
