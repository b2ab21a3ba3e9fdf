// The execute commands of the two DDE topics, compared without regard to case. A text that is
// no command is refused and changes nothing.
#pragma once

#include <QString>
#include <optional>

namespace zel {

// The main window's commands: the object name of the button or menu entry the command clicks
// ("REGISTERS" clicks "RegisterButton"), or null for a text that is no command.
const char* mainCommandControl(const QString& command);

// The main window's buttons and menu entries, by object name, as its commands reach them.
class MainControls {
public:
    enum class State { Missing, Disabled, Ready };
    virtual State controlState(const QString& control) const = 0;
    // Clicks the button or triggers the menu entry.
    virtual void click(const QString& control) = 0;

protected:
    ~MainControls() = default;
};

// A main window command checked against the window before it is carried out: a command whose
// control is missing or disabled would click nothing, so it is refused like an unknown one.
struct MainCommandCheck {
    enum class Outcome { Ready, Unknown, Missing, Disabled };
    Outcome outcome;
    QString control;  // the control the command clicks; empty for a text that is no command
};
// `controls` null: a monitor without a main window, where no command finds its control.
MainCommandCheck checkMainCommand(const QString& command, const MainControls* controls);

// The DDE window's own commands.
enum class DdeCommand {
    Start,     // "START": starts or cancels the exchange, as "Start DDE" / "Cancel DDE"
    Exit,      // "EXIT": hides the window
    Download,  // "DOWNLOAD": "&Write Block Data"
};
std::optional<DdeCommand> ddeCommand(const QString& command);

}  // namespace zel
