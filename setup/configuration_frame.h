// The controller configuration and input frames of the setup dialog: what the connection read
// from the controller, and the four run-control inputs switched between active and idle.
#pragma once

#include <QString>
#include <array>

#include "common/app_state.h"
#include "setup/setup_host.h"
#include "link/zel_library.h"

namespace zel {

inline constexpr int kConfigurationValueCount = 12;
inline constexpr int kStatusLineCount = 4;
inline constexpr int kInputButtonCount = 4;

// Captions beside the Label14 values, in index order.
inline constexpr std::array<const char*, kConfigurationValueCount> kConfigurationCaptions = {
    "Number of Flags:",       "Number of Inputs:",    "Number of Outputs:",
    "Number of Steppers:",    "Number of Servos:",    "Number of Analog Ins:",
    "Number of Analog Outs:", "Number of Prototype:", "Number of HS Counters:",
    "Number of Thumbwheels:", "Number of Displays:",  "Controller Architecture:"};

// Captions beside the Command3d1 buttons: START, STOP, RESET, STEP.
inline constexpr std::array<const char*, kInputButtonCount> kInputCaptions = {
    "START input status:", "STOP input status:", "RESET input status:", "STEP input status:"};

class ConfigurationFrame {
public:
    ConfigurationFrame(AppState& state, ZelLibrary& library, SetupHost& host);

    // Shows what the last connection read; "N/A" and the unknown texts where nothing is known.
    void fill();
    // Flips input i (0 START, 1 STOP, 2 RESET, 3 STEP) in the configuration word and sends the whole word.
    void clickInput(int index);

    const std::array<QString, kConfigurationValueCount>& values() const { return values_; }
    const std::array<QString, kStatusLineCount>& statusLines() const { return statusLines_; }
    const std::array<QString, kInputButtonCount>& inputCaptions() const { return inputCaptions_; }

private:
    void showUnknownState();
    void showStatusLines(int32_t statusBits);
    void showInputButtons(int32_t configBits);

    AppState& state_;
    ZelLibrary& library_;
    SetupHost& host_;
    std::array<QString, kConfigurationValueCount> values_;
    std::array<QString, kStatusLineCount> statusLines_;
    std::array<QString, kInputButtonCount> inputCaptions_;
};

}  // namespace zel
