#include "dde/dde_commands.h"

#include <array>
#include <utility>

namespace zel {
namespace {

constexpr std::array<std::pair<const char*, const char*>, 16> kMainCommands = {{
    {"REGISTERS", "RegisterButton"},
    {"INPUTS", "InputButton"},
    {"ANALOG INS", "AinButton"},
    {"FLAGS", "FlagButton"},
    {"OUTPUTS", "OutputButton"},
    {"ANALOG OUTS", "AoutButton"},
    {"SERVOS", "ServoButton"},
    {"CUSTOM 1", "Cust1Button"},
    {"CUSTOM 2", "Cust2Button"},
    {"PROGRAM STATUS", "StatButton"},
    {"DATA TABLE", "TableButton"},
    {"NVRAM MODULE", "NVRamButton"},
    {"START", "StartButton"},
    {"STOP", "StopButton"},
    {"RESET", "ResetButton"},
    {"DDESETUP", "mnuDdeSetup"},
}};

constexpr std::array<std::pair<const char*, DdeCommand>, 3> kDdeCommands = {{
    {"START", DdeCommand::Start},
    {"EXIT", DdeCommand::Exit},
    {"DOWNLOAD", DdeCommand::Download},
}};

bool sameCommand(const QString& command, const char* name) {
    return command.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

}  // namespace

const char* mainCommandControl(const QString& command) {
    for (const auto& [name, control] : kMainCommands)
        if (sameCommand(command, name)) return control;
    return nullptr;
}

MainCommandCheck checkMainCommand(const QString& command, const MainControls* controls) {
    using Outcome = MainCommandCheck::Outcome;
    const char* found = mainCommandControl(command);
    if (!found) return {Outcome::Unknown, {}};
    const QString control = QString::fromLatin1(found);
    switch (controls ? controls->controlState(control) : MainControls::State::Missing) {
    case MainControls::State::Ready: return {Outcome::Ready, control};
    case MainControls::State::Disabled: return {Outcome::Disabled, control};
    case MainControls::State::Missing: break;
    }
    return {Outcome::Missing, control};
}

std::optional<DdeCommand> ddeCommand(const QString& command) {
    for (const auto& [name, which] : kDdeCommands)
        if (sameCommand(command, name)) return which;
    return std::nullopt;
}

}  // namespace zel
