#include "setup/configuration_frame.h"

#include "link/link_claim.h"

namespace zel {
namespace {

constexpr int kModelUnknown = -1;
constexpr int kMainCountCount = 7;  // the counts every controller reports
constexpr int kArchitectureIndex = 11;

struct StatusLineTexts {
    const char* bitSet;
    const char* bitClear;
    const char* unknown;
};

// Line n shows bit n of the controller status word.
constexpr std::array<StatusLineTexts, kStatusLineCount> kStatusTexts = {{
    {"Controller STOPPED", "Controller RUNNING", "Run State Unknown"},
    {"Programming Mode", "Normal Mode", "Run Mode Unknown"},
    {"Controller Software Fault", "Controller Status OK", "Run Status Unknown"},
    {"Controller fresh RESET", "Controller mid-program", "Reset State Unknown"},
}};

const QString kNotAvailable = QStringLiteral("N/A");

int32_t bitOf(int index) {
    return int32_t{1} << index;
}

QString inputCaption(bool active) {
    return active ? QStringLiteral("Active") : QStringLiteral("Idle");
}

}  // namespace

ConfigurationFrame::ConfigurationFrame(AppState& state, ZelLibrary& library, SetupHost& host)
    : state_(state), library_(library), host_(host) {
    values_.fill(kNotAvailable);
    showUnknownState();
}

void ConfigurationFrame::fill() {
    const ConnectionState& c = state_.connection;
    values_.fill(kNotAvailable);
    showUnknownState();
    if (c.ModelCode == kModelUnknown) return;
    const auto& counts = c.Counts.all();
    for (size_t i = 0; i < kMainCountCount; ++i) values_[i] = QString::number(counts[i]);
    if (!c.EATypeController) {
        values_[kArchitectureIndex] = QStringLiteral("Non-EA");
        return;
    }
    values_[kArchitectureIndex] = QStringLiteral("EA Type");
    for (size_t i = kMainCountCount; i < kArchitectureIndex; ++i)
        values_[i] = QString::number(counts[i]);
    if (c.ControllerStatusBits != kUnknownWord) showStatusLines(c.ControllerStatusBits);
    if (c.InputConfigBits != kUnknownWord) showInputButtons(c.InputConfigBits);
}

void ConfigurationFrame::showUnknownState() {
    for (size_t i = 0; i < kStatusLineCount; ++i) statusLines_[i] = kStatusTexts[i].unknown;
    inputCaptions_.fill(QStringLiteral("Unknown"));
}

void ConfigurationFrame::showStatusLines(int32_t statusBits) {
    for (size_t i = 0; i < kStatusLineCount; ++i) {
        const bool set = (statusBits & bitOf(static_cast<int>(i))) != 0;
        statusLines_[i] = set ? kStatusTexts[i].bitSet : kStatusTexts[i].bitClear;
    }
}

void ConfigurationFrame::showInputButtons(int32_t configBits) {
    for (size_t i = 0; i < kInputButtonCount; ++i)
        inputCaptions_[i] = inputCaption((configBits & bitOf(static_cast<int>(i))) != 0);
}

void ConfigurationFrame::clickInput(int index) {
    if (index < 0 || index >= kInputButtonCount) return;
    if (!linkFree(state_)) {
        host_.setMessage(kLinkClaimedMessage);
        return;
    }
    int32_t& word = state_.connection.InputConfigBits;
    const int32_t bit = bitOf(index);
    word ^= bit;
    inputCaptions_[static_cast<size_t>(index)] = inputCaption((word & bit) != 0);
    // A refused word stays shown: the user sees what was asked for and the failure beside it.
    if (library_.ZlPutConfig(state_.connection.CommHandle, word) != 1)
        host_.setMessage(QStringLiteral("Failed to update configuration!"));
}

}  // namespace zel
