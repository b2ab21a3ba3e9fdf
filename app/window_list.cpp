#include "app/window_list.h"

#include <array>
#include <cstddef>

#include "app/child_windows.h"
#include "resources/frm_analog.h"
#include "resources/frm_digital.h"
#include "resources/frm_flag.h"
#include "resources/frm_reg.h"
#include "resources/frm_reg_bits.h"

namespace zel {
namespace {

using W = WindowId;
using O = Opener;

// "View Bits" of the Registers and NV registers windows opens the Register bits window on the
// window's own range, with the focus in its first value box.
template <typename Form, RegisterBank range>
ChildWindow* makeRegisterForm(WindowContext& context) {
    auto* made = static_cast<FormWindow<Form>*>(makeResourceForm<Form>(context));
    if constexpr (range == RegisterBank::Lower)
        made->form()->model().setAfterWrite(emptyingDdeBox(context, &DdeModel::emptyRegWrite));
    made->form()->setViewBitsHandler([window = context.window] {
        auto* bits = static_cast<FormWindow<frmRegBits>*>(window(WindowId::RegisterBits));
        bits->open();
        bits->form()->selectRange(range);
    });
    return made;
}

// A write from the Flags or Register bits window empties the DDE window's box of its kind.
template <typename Form, void (DdeModel::*empty)()>
ChildWindow* makeEmptyingDdeBox(WindowContext& context) {
    auto* made = static_cast<FormWindow<Form>*>(makeResourceForm<Form>(context));
    made->form()->model().setAfterWrite(emptyingDdeBox(context, empty));
    return made;
}

// clang-format off
constexpr std::array<WindowEntry, 22> kWindows = {{
    {W::Registers, O::Button, "RegisterButton", "Registers",
     "Loading Register Form, please wait.", "Register Form loaded.", 7, 1,
     &makeRegisterForm<frmReg, RegisterBank::Lower>},
    {W::NvRegisters, O::Button, "NVRamButton", "Upper NVRegisters",
     "Loading NVRegisters Form, please wait.", "NVRegisters Form loaded.", 9, 2,
     &makeRegisterForm<frmRam, RegisterBank::Upper>},
    {W::Flags, O::Button, "FlagButton", "Flags",
     "Loading Flags Form, please wait.", "Flags Form loaded.", 2, 5,
     &makeEmptyingDdeBox<frmFlag, &DdeModel::emptyFlagWrite>},
    {W::DigitalInputs, O::Button, "InputButton", "Inputs",
     "Loading Digital Input Form, please wait.", "Digital Input Form loaded.", 3, 3,
     &makeResourceForm<frmDigIn>},
    {W::DigitalOutputs, O::Button, "OutputButton", "Outputs",
     "Loading Digital Output Form, please wait.", "Digital Output Form loaded.", 4, 6,
     &makeResourceForm<frmDigOut>},
    {W::AnalogInputs, O::Button, "AinButton", "Analog Ins", "", "", 5, 4,
     &makeResourceForm<frmAnalIn>},
    {W::AnalogOutputs, O::Button, "AoutButton", "Analog Outs",
     "Loading Analog Output Form, please wait.", "Analog Output Form loaded.", 6, 7,
     &makeResourceForm<frmAnalOut>},
    {W::Servos, O::Button, "ServoButton", "Servos",
     "Loading Servo Motor Form, please wait.", "Servo Motor Form loaded.", 10, 8, &makeServos},
    {W::StepStatus, O::Button, "StatButton", "Program Step Status",
     "Loading Program Status Form, please wait.", "Program Status Form loaded.", 13, 11,
     &makeStepStatus},
    {W::DataTable, O::Button, "TableButton", "Data Table",
     "Loading Data Table Form, please wait.", "Data Table Form loaded.", 0, 12, &makeDataTable},
    {W::TableMonitor, O::OtherWindow, "", "", "", "", 0, 20, &makeTableMonitor},
    {W::Custom1, O::Button, "Cust1Button", "Custom 1",
     "Loading Custom Form 1, please wait.", "Custom Form 1 loaded.", 11, 9, &makeCustom1},
    {W::Custom2, O::Button, "Cust2Button", "Custom 2",
     "Loading Custom Form 2, please wait.", "Custom Form 2 loaded.", 12, 10, &makeCustom2},
    {W::RegisterBits, O::OtherWindow, "", "", "", "", 8, 19,
     &makeEmptyingDdeBox<frmRegBits, &DdeModel::emptyRegWrite>},
    {W::Setup, O::ConfigurationMenu, "mnuConfiguration", "Change &Configuration", "", "", 0, 13,
     &makeSetup},
    {W::DdeSetup, O::ConfigurationMenu, "mnuDdeSetup", "Change &DDE Setup",
     "Loading DDE Form(s), please wait.", "DDE Form(s) loaded.", 1, 14, &makeDde, true},
    {W::Firmware, O::ConfigurationMenu, "mnuFirmware", "&Update Firmware", "", "", 0, 15,
     &makeFirmwareUpdate},
    {W::Clock, O::MenuBar, "mnuClock", "&Set Real Time Clock", "", "", 14, 18, &makeClock},
    {W::ProgramTransfer, O::FileMenu, "mnuProgramTransfer", "&Program Transfer (Tavrel Based)",
     "", "", 0, 21, &makeProgramTransfer},
    {W::RegisterCompare, O::FileMenu, "mnuCompare", "&Compare with Controller...", "", "", 0, 22,
     &makeRegisterCompare},
    {W::Trend, O::TrendsMenu, "mnuShowTrend", "Show &Trend", "", "", 0, 23, &makeTrend},
    {W::Traffic, O::MenuBar, "mnuTraffic", "T&raffic", "", "", 0, 24, &makeTraffic},
}};
// clang-format on

constexpr bool everyWindowOnce() {
    for (std::size_t i = 0; i < kWindows.size(); ++i)
        for (std::size_t j = i + 1; j < kWindows.size(); ++j)
            if (kWindows[i].id == kWindows[j].id) return false;
    return true;
}
static_assert(everyWindowOnce() &&
                  kWindows.size() == static_cast<std::size_t>(W::Traffic) + 1,
              "each window has one entry");

}  // namespace

std::span<const WindowEntry> windowList() { return kWindows; }

const WindowEntry& windowEntry(WindowId id) {
    for (const WindowEntry& entry : kWindows)
        if (entry.id == id) return entry;
    return kWindows.front();
}

}  // namespace zel
