// Everything the connection manager does to the user interface, so it runs without a display.
#pragma once

#include <QString>
#include <array>

namespace zel {

enum class ChildWindow {
    AnalIn,
    AnalOut,
    Custom1,
    Custom2,
    Dde,
    DigIn,
    DigOut,
    Servo,
    Ram,
    Status,
    Flag,
    Reg
};

struct ChildWindowTitle {
    ChildWindow window;
    const char* baseTitle;
};

// Each child window's own title; the connection caption follows it.
inline constexpr std::array<ChildWindowTitle, 12> kChildWindowTitles = {{
    {ChildWindow::AnalIn, "Analog Inputs"},
    {ChildWindow::AnalOut, "Analog Outputs"},
    {ChildWindow::Custom1, "Custom Screen 1"},
    {ChildWindow::Custom2, "Custom Screen 2"},
    {ChildWindow::Dde, "DDE Screen"},
    {ChildWindow::DigIn, "Digital Inputs"},
    {ChildWindow::DigOut, "Digital Outputs"},
    {ChildWindow::Servo, "Motors/Servos"},
    {ChildWindow::Ram, "NVRegisters"},
    {ChildWindow::Status, "Step Status"},
    {ChildWindow::Flag, "Flags"},
    {ChildWindow::Reg, "Registers"},
}};

class ConnectionUi {
public:
    virtual ~ConnectionUi() = default;

    // The main window's status line; refreshMessage repaints it at once.
    virtual void setStatus(const QString& text) = 0;
    virtual void refreshMessage() = 0;
    virtual void setMainTitle(const QString& title) = 0;
    // The DDE window's status label, repainted at once.
    virtual void setDdeMessage(const QString& text) = 0;
    // A window that is not loaded (the custom screens, say) ignores its new title.
    virtual void setChildTitle(ChildWindow window, const QString& title) = 0;
    // Timer1's interval, and enabling Timer3, which starts Timer1 on its next tick.
    virtual void setPollingInterval(int milliseconds) = 0;
    virtual void enableStartTimer() = 0;
    virtual void repaintMain() = 0;
    // Lets pending window events run; clicks and timer ticks may happen in here.
    virtual void processEvents() = 0;
    // A plain wait without event processing.
    virtual void pause(int milliseconds) = 0;
};

}  // namespace zel
