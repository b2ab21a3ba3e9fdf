// The list of the main window's child windows: one entry per window with how it is opened (its
// button or menu entry), the status texts around its opening, its place in the polling tick and
// in the shutdown order, and how its form is made. A window the monitor does not have yet has no
// maker: its button or menu entry is shown disabled and says so.
//
// How each window is kept (its placement section, its open flag and its unload text) is the
// business of its model, and its title (its own, then the connection caption) of its form.
#pragma once

#include <span>

namespace zel {

class ChildWindow;
struct WindowContext;

enum class WindowId {
    Registers,
    NvRegisters,
    Flags,
    DigitalInputs,
    DigitalOutputs,
    AnalogInputs,
    AnalogOutputs,
    Servos,
    StepStatus,
    DataTable,
    TableMonitor,
    Custom1,
    Custom2,
    RegisterBits,
    Clock,
    Setup,
    DdeSetup,
    Firmware,
    ProgramTransfer,
    RegisterCompare,
    Trend,
    Traffic,
};

// Where the window is opened from.
enum class Opener {
    Button,             // a window button of the main window, laid out in list order
    ConfigurationMenu,  // an entry of the "&Configuration" menu
    MenuBar,            // an entry on the menu bar itself
    FileMenu,           // an entry of the "&File" menu
    TrendsMenu,         // an entry of the "&Trends" menu
    OtherWindow,        // only another child window opens it
};

struct WindowEntry {
    WindowId id;
    Opener opener;
    const char* control;  // the object name of its button or menu entry
    const char* caption;  // the button's caption or the menu entry's text
    // Status texts while it opens and once it is open; empty for none. A window opened by a
    // button, or one with a loading text, asks first while there is no link.
    const char* loading;
    const char* loaded;
    // Its block's place in the polling tick, which runs the blocks in rising order; 0 for none.
    // 1 is kept for the DDE values, which the tick refreshes before every window.
    int tickPlace;
    // Shutdown closes the open windows in rising order, each saving its own settings.
    int closeOrder;
    // Makes the window, parented to the main window; null while it is not built.
    ChildWindow* (*make)(WindowContext& context);
    // A menu entry with a separator above it.
    bool separatorBefore = false;
};

std::span<const WindowEntry> windowList();
const WindowEntry& windowEntry(WindowId id);

}  // namespace zel
