#include "app/window_buttons.h"

#include <iterator>

namespace zel {
namespace {

constexpr WindowButton kButtons[] = {
    {"RegisterButton", "Registers", "Loading Register Form, please wait.", "Register Form loaded."},
    {"NVRamButton", "Upper NVRegisters", "Loading NVRegisters Form, please wait.",
     "NVRegisters Form loaded."},
    {"FlagButton", "Flags", "Loading Flags Form, please wait.", "Flags Form loaded."},
    {"InputButton", "Inputs", "Loading Digital Input Form, please wait.",
     "Digital Input Form loaded."},
    {"OutputButton", "Outputs", "Loading Digital Output Form, please wait.",
     "Digital Output Form loaded."},
    {"AinButton", "Analog Ins", "", ""},
    {"AoutButton", "Analog Outs", "Loading Analog Output Form, please wait.",
     "Analog Output Form loaded."},
    {"ServoButton", "Servos", "Loading Servo Motor Form, please wait.", "Servo Motor Form loaded."},
    {"StatButton", "Program Step Status", "Loading Program Status Form, please wait.",
     "Program Status Form loaded."},
    {"TableButton", "Data Table", "Loading Data Table Form, please wait.",
     "Data Table Form loaded."},
    {"Cust1Button", "Custom 1", "Loading Custom Form 1, please wait.", "Custom Form 1 loaded."},
    {"Cust2Button", "Custom 2", "Loading Custom Form 2, please wait.", "Custom Form 2 loaded."},
};

}  // namespace

const WindowButton* windowButtons(int& count) {
    count = static_cast<int>(std::size(kButtons));
    return kButtons;
}

QString stepStatusTitle(const QString& controllerIP) {
    return controllerIP.isEmpty() ? QStringLiteral("Step Status")
                                  : QStringLiteral("Step Status - ") + controllerIP;
}

bool needsSecondServoWindow(int servoCount) { return servoCount > 16; }

const WindowButton* findWindowButton(const QString& name) {
    for (const WindowButton& b : kButtons)
        if (name == QLatin1String(b.name)) return &b;
    return nullptr;
}

}  // namespace zel
