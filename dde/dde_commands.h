// The execute commands of the two DDE topics, compared without regard to case. A text that is
// no command is refused and changes nothing.
#pragma once

#include <QString>
#include <optional>

namespace zel {

// The main window's commands: the object name of the button or menu entry the command clicks
// ("REGISTERS" clicks "RegisterButton"), or null for a text that is no command.
const char* mainCommandControl(const QString& command);

// The DDE window's own commands.
enum class DdeCommand {
    Start,     // "START": starts or cancels the exchange, as "Start DDE" / "Cancel DDE"
    Exit,      // "EXIT": hides the window
    Download,  // "DOWNLOAD": "&Write Block Data"
};
std::optional<DdeCommand> ddeCommand(const QString& command);

}  // namespace zel
